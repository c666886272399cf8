# zor-tool scores --csv over a generated data folder: see scores_bench.sh.
add_executable(scores_make_data ${CMAKE_CURRENT_LIST_DIR}/scores_make_data.cpp)
target_link_libraries(scores_make_data PRIVATE zor_record)
