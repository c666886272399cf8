# PDF export of the one-page report: the program's replay and writer, and Qt's PDF writer with
# the program's EMF player for comparison (bench/pdf_bench.sh runs both with other programs).
add_executable(pdf_export_bench ${CMAKE_CURRENT_LIST_DIR}/pdf_export_bench.cpp)
target_include_directories(pdf_export_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/report)
target_compile_definitions(pdf_export_bench PRIVATE ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(pdf_export_bench PRIVATE zor_report zor_pdf)

add_executable(pdf_qt_writer_bench ${CMAKE_CURRENT_LIST_DIR}/pdf_qt_writer_bench.cpp)
target_link_libraries(pdf_qt_writer_bench PRIVATE zor_pagestore_qt)

add_executable(pdf_report_pages ${CMAKE_CURRENT_LIST_DIR}/pdf_report_pages.cpp)
target_include_directories(pdf_report_pages PRIVATE ${PROJECT_SOURCE_DIR}/tests/report)
target_compile_definitions(pdf_report_pages PRIVATE ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(pdf_report_pages PRIVATE zor_report)
