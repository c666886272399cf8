# Repaint time of the page preview display for a report-like page.
add_executable(display_bench ${CMAKE_CURRENT_LIST_DIR}/display_bench.cpp)
target_link_libraries(display_bench PRIVATE zor_pagestore_qt)
