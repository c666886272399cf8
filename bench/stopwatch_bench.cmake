# The stopwatch benchmark, driven by stopwatch_bench.sh; include() from bench/CMakeLists.txt.
add_executable(stopwatch_bench
  ${CMAKE_CURRENT_LIST_DIR}/stopwatch_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stopwatch_program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/observed_sounds.cpp)
target_link_libraries(stopwatch_bench PRIVATE zor_bench_pulse_monitor zor_administration
  zor_record_screens zor_record_answers zor_shell zor_record zor_ui_qt zor_ui_pulse)
target_compile_definitions(stopwatch_bench PRIVATE ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The report and correction screens, which the administration only opens, are the tests' stand-ins.
target_include_directories(stopwatch_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/administration)
