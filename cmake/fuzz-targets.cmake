# libFuzzer targets of the platform-free code (the `fuzz` preset, clang only): one program per
# tests/fuzz/*.cpp, each with its seeds in tests/fuzz/seeds/<name>/. ctest runs each a fixed
# number of times from its seeds; tools/fuzz.sh runs them for as long as one likes.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): configure with the fuzz preset")
endif()

# Executions of each target in the test command: all of them together take about a minute here.
set(TESSARO_FUZZ_RUNS
  command_switch 200000
  registry_value 200000
  version_text 200000
  utf16 200000
  exif 500000
  jpeg_header 500000
  icc_profile 6000
  placement 500000
  slide_frame 10000
  band_scaler 6000
)

add_custom_target(fuzz_targets)
while(TESSARO_FUZZ_RUNS)
  list(POP_FRONT TESSARO_FUZZ_RUNS name runs)
  add_executable(fuzz_${name} tests/fuzz/${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE ${TESSARO_PLATFORM_FREE_LIBRARIES})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_compile_options(fuzz_${name} PRIVATE ${TESSARO_WARNINGS})
  add_dependencies(fuzz_targets fuzz_${name})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -DTARGET=$<TARGET_FILE:fuzz_${name}> -DRUNS=${runs}
            -DSEEDS=${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/${name} -DSCRATCH=${CMAKE_BINARY_DIR}/short/${name}
            -DFINDINGS=${CMAKE_BINARY_DIR}/findings
            -P ${CMAKE_SOURCE_DIR}/tests/fuzz/run_short.cmake)
endwhile()
