#The null sink's monitor reader shared by the sound benchmarks; include() from
#bench / CMakeLists.txt.
find_package(Threads REQUIRED)
    add_library(zor_bench_pulse_monitor STATIC ${CMAKE_CURRENT_LIST_DIR} / pulse_monitor.cpp)
        target_include_directories(zor_bench_pulse_monitor PUBLIC ${CMAKE_CURRENT_LIST_DIR})
            target_link_libraries(zor_bench_pulse_monitor PUBLIC Threads::Threads)
