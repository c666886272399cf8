# zor_add_test(NAME SOURCES a.cpp b.cpp LIBS zor_x zor_y)
# Adds a GoogleTest executable and registers its tests with CTest.
include(GoogleTest)
find_package(GTest REQUIRED)

# The LeakSanitizer suppressions of scripts/lsan-suppressions.txt, built into every test program.
set(ZOR_LSAN_SUPPRESSIONS_FILE ${PROJECT_SOURCE_DIR}/scripts/lsan-suppressions.txt)
file(STRINGS ${ZOR_LSAN_SUPPRESSIONS_FILE} _zor_lsan_lines REGEX "^leak:")
list(JOIN _zor_lsan_lines "\\n" ZOR_LSAN_SUPPRESSIONS)
configure_file(${PROJECT_SOURCE_DIR}/tests/support/sanitizer_defaults.cpp.in
  ${PROJECT_BINARY_DIR}/tests/support/sanitizer_defaults.cpp @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZOR_LSAN_SUPPRESSIONS_FILE})

function(zor_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_BINARY_DIR}/tests/support/sanitizer_defaults.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_compile_definitions(${name} PRIVATE
    ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZOR_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
