# Unit tests of the platform-free code: natively (with the sanitizers of the native preset) and,
# cross-built, under Wine, where wchar_t is 16 bits as in the shipped program.
set(TESSARO_UNIT_TEST_SOURCES
  tests/unit/command_switch_test.cpp
  tests/unit/single_instance_name_test.cpp
  tests/unit/slide_sequence_test.cpp
  tests/unit/placement_test.cpp
  tests/unit/movement_rule_test.cpp
  tests/unit/band_scaler_test.cpp
  tests/unit/exif_test.cpp
  tests/unit/jpeg_header_test.cpp
  tests/unit/slide_frame_test.cpp
  tests/unit/slide_colours_test.cpp
  tests/unit/slide_show_test.cpp
  tests/unit/slide_worker_test.cpp
  tests/unit/about_texts_test.cpp
  tests/unit/registry_value_test.cpp
  tests/unit/sysinfo_launcher_test.cpp
  tests/unit/dialog_layout_test.cpp
  tests/unit/utf16_test.cpp
)
add_executable(unit_tests ${TESSARO_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE ${TESSARO_PLATFORM_FREE_LIBRARIES} GTest::gtest_main)
target_include_directories(unit_tests PRIVATE tests)
target_compile_options(unit_tests PRIVATE ${TESSARO_WARNINGS})

if(CMAKE_CROSSCOMPILING)
  gtest_add_tests(TARGET unit_tests SOURCES ${TESSARO_UNIT_TEST_SOURCES} TEST_PREFIX "unit." TEST_LIST TESSARO_WINE_UNIT_TESTS)
  set_tests_properties(${TESSARO_WINE_UNIT_TESTS} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 120)
else()
  gtest_discover_tests(unit_tests)
endif()
