# Unit tests of the platform-free code on the build machine.
add_executable(unit_tests
  tests/unit/command_switch_test.cpp
  tests/unit/slide_sequence_test.cpp
  tests/unit/placement_test.cpp
  tests/unit/movement_rule_test.cpp
  tests/unit/resample_test.cpp
  tests/unit/slide_frame_test.cpp
  tests/unit/version_text_test.cpp
  tests/unit/registry_value_test.cpp
  tests/unit/sysinfo_launcher_test.cpp
  tests/unit/dialog_layout_test.cpp
)
target_link_libraries(unit_tests PRIVATE tessaro_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${TESSARO_WARNINGS})
gtest_discover_tests(unit_tests)
