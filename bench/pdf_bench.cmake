# PDF export of a one-page report: replay of the page image and writing of the file.
add_executable(pdf_export_bench ${CMAKE_CURRENT_LIST_DIR}/pdf_export_bench.cpp)
target_link_libraries(pdf_export_bench PRIVATE zor_pdf zor_emf)
