# Probes driven by startup_bench.sh and sound_bench.sh.
if(TARGET zor_app)
  add_executable(startup_probe startup_probe.cpp)
  target_link_libraries(startup_probe PRIVATE zor_app)
endif()
add_executable(sound_probe sound_probe.cpp)
target_link_libraries(sound_probe PRIVATE zor_bench_pulse_monitor zor_ui_pulse)
