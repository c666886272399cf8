# The recovery-journal benchmark, driven by journal_bench.sh; include() from bench/CMakeLists.txt.
add_executable(journal_bench ${CMAKE_CURRENT_LIST_DIR}/journal_bench.cpp
  ${PROJECT_SOURCE_DIR}/tests/record/sample_record.cpp)
target_link_libraries(journal_bench PRIVATE zor_record)
# The records the record tests use: an administration filled as the screens fill it.
target_include_directories(journal_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/record)
