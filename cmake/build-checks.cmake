# Checks of the build itself, part of the test command (tools/check_build.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TESSARO_CHECK_BUILD ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_build.py)

add_test(NAME build.cxx_standard COMMAND ${TESSARO_CHECK_BUILD} standard ${CMAKE_BINARY_DIR})

if(WIN32)
  set(TESSARO_TARGETS_WITHOUT_GOOGLETEST Tessaro TessaroQuickCycle demo_capture dialog_capture bench_slide_render)
else()
  set(TESSARO_TARGETS_WITHOUT_GOOGLETEST bench_slide_pipeline)
endif()
add_test(NAME build.googletest_only_for_tests
  COMMAND ${TESSARO_CHECK_BUILD} googletest ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} "${CMAKE_TOOLCHAIN_FILE}"
          ${TESSARO_TARGETS_WITHOUT_GOOGLETEST})

if(WIN32)
  # Every library exists in the Windows build only; the native one builds the platform-free ones.
  add_test(NAME build.layers COMMAND ${TESSARO_CHECK_BUILD} layers ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  add_test(NAME build.one_slide_interval COMMAND ${TESSARO_CHECK_BUILD} interval ${CMAKE_BINARY_DIR})
endif()
if(CMAKE_CROSSCOMPILING)
  add_test(NAME build.static_imports
    COMMAND ${TESSARO_CHECK_BUILD} imports ${CMAKE_SOURCE_DIR}/tools/newer-than-windows7.txt ${CMAKE_SOURCE_DIR}/tools/known-dlls.txt
            $<TARGET_FILE:Tessaro> $<TARGET_FILE:TessaroQuickCycle>)
endif()
if(CMAKE_GENERATOR STREQUAL "Unix Makefiles" AND WIN32)
  add_test(NAME build.resource_dependencies
    COMMAND ${TESSARO_CHECK_BUILD} resources ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} Tessaro TessaroQuickCycle)
endif()
