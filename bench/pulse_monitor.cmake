# The null sink's monitor reader shared by the sound benchmarks; include() from
# bench/CMakeLists.txt.
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZOR_BENCH_LIBPULSE REQUIRED IMPORTED_TARGET libpulse)
add_library(zor_bench_pulse_monitor STATIC ${CMAKE_CURRENT_LIST_DIR}/pulse_monitor.cpp)
target_include_directories(zor_bench_pulse_monitor PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zor_bench_pulse_monitor PUBLIC Threads::Threads PkgConfig::ZOR_BENCH_LIBPULSE)
