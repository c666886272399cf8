# The report preview's storing of a report: compose, report file and PDF.
add_executable(report_bench ${CMAKE_CURRENT_LIST_DIR}/report_bench.cpp)
target_link_libraries(report_bench PRIVATE zor_report)
target_include_directories(report_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/report)
