# The voice-onset detector over a made corpus of answer clips: see voice_onset_bench.sh.
# With the WebRTC audio-processing library present, its voice-activity
# detector is measured beside it.
add_executable(voice_onset_probe ${CMAKE_CURRENT_LIST_DIR}/voice_onset_probe.cpp)
target_link_libraries(voice_onset_probe PRIVATE zor_voice)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WEBRTC_APM IMPORTED_TARGET webrtc-audio-processing)
if(WEBRTC_APM_FOUND)
  target_link_libraries(voice_onset_probe PRIVATE PkgConfig::WEBRTC_APM)
  target_compile_definitions(voice_onset_probe PRIVATE ZOR_HAVE_WEBRTC_APM)
endif()
