# The stopwatch benchmark; include() from bench/CMakeLists.txt.
add_executable(stopwatch_bench ${CMAKE_CURRENT_LIST_DIR}/stopwatch_bench.cpp)
target_link_libraries(stopwatch_bench PRIVATE zor_administration zor_record_screens zor_shell zor_record zor_ui)
target_include_directories(stopwatch_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/ui)
target_compile_definitions(stopwatch_bench PRIVATE ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
