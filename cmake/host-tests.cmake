# Unit tests of the platform-free code, and the benchmarks, on the build machine.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(unit_tests
  tests/unit/command_switch_test.cpp
  tests/unit/slide_sequence_test.cpp
  tests/unit/placement_test.cpp
  tests/unit/movement_rule_test.cpp
  tests/unit/band_scaler_test.cpp
  tests/unit/exif_orientation_test.cpp
  tests/unit/slide_frame_test.cpp
  tests/unit/slide_show_test.cpp
  tests/unit/slide_worker_test.cpp
  tests/unit/version_text_test.cpp
  tests/unit/registry_value_test.cpp
  tests/unit/sysinfo_launcher_test.cpp
  tests/unit/dialog_layout_test.cpp
)
target_link_libraries(unit_tests PRIVATE tessaro_core GTest::gmock_main)
target_compile_options(unit_tests PRIVATE ${TESSARO_WARNINGS})
gtest_discover_tests(unit_tests)

add_executable(bench_slide_pipeline bench/slide_pipeline_bench.cpp)
target_link_libraries(bench_slide_pipeline PRIVATE tessaro_core)
