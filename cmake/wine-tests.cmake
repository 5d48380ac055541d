# What runs under Wine in the test command: the private Wine session, the harness that drives
# the real program, the unit tests' Windows build (cmake/unit-tests.cmake), the in-process tests
# of the windows and the Win32 layer, and the end-to-end tests with one monitor and with two.

# Everything that runs under Wine does so in a private session (Xvfb, 1024x768x24, a virtual
# desktop with a taskbar) that ctest starts and stops.
if(CMAKE_CROSSCOMPILING)
  set(TESSARO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-session.sh run ${TESSARO_WINE_STATE})
  add_test(NAME wine_session_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${TESSARO_WINE_STATE})
  add_test(NAME wine_session_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${TESSARO_WINE_STATE})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endif()

# Drives a real Tessaro.scr from outside: the end-to-end tests, the demo, the screenshots and the
# benchmarks. Also what tests share beyond it (tests/support/).
add_library(tessaro_e2e_harness STATIC tests/e2e/harness.cpp tests/e2e/usage_log.cpp)
target_include_directories(tessaro_e2e_harness PUBLIC tests/e2e tests resources)
target_link_libraries(tessaro_e2e_harness PUBLIC tessaro_win32 psapi ole32 windowscodecs)
target_compile_options(tessaro_e2e_harness PRIVATE ${TESSARO_WARNINGS})

if(NOT TESSARO_TESTS)
  return()
endif()

# In-process tests of the windows and the Win32 layer: the program's own code and resources,
# hosted in a test program, where fonts and icons can be read (Wine hands no font or icon handles
# across processes).
set(TESSARO_WIN32_TEST_SOURCES
  tests/win32/window_class_test.cpp
  tests/win32/dpi_test.cpp
  tests/win32/message_loop_test.cpp
  tests/win32/single_instance_test.cpp
  tests/win32/settings_dialog_test.cpp
  tests/win32/about_box_test.cpp
  tests/win32/test_session_test.cpp
  tests/win32/desktop_changes_test.cpp
  tests/win32/handle_stream_test.cpp
  tests/win32/reduced_decode_test.cpp
)
add_executable(win32_tests ${TESSARO_WIN32_TEST_SOURCES} tests/win32/dialog_host.cpp tests/win32/last_error_changing_delete.cpp)
target_link_libraries(win32_tests PRIVATE tessaro_e2e_harness tessaro_startup tessaro_wic shlwapi GTest::gtest_main)
target_compile_options(win32_tests PRIVATE ${TESSARO_WARNINGS})
tessaro_add_resources(win32_tests)

# End-to-end tests: a Windows test program that drives the real .scr.
set(TESSARO_E2E_SOURCES
  tests/e2e/dispatch_test.cpp
  tests/e2e/saver_window_test.cpp
  tests/e2e/placement_test.cpp
  tests/e2e/slide_cycle_test.cpp
  tests/e2e/slide_engine_test.cpp
  tests/e2e/dismissal_test.cpp
  tests/e2e/settings_dialog_test.cpp
  tests/e2e/about_box_test.cpp
  tests/e2e/sysinfo_test.cpp
  tests/e2e/crash_test.cpp
  tests/e2e/hostile_slides_test.cpp
  tests/e2e/long_run_test.cpp
  tests/e2e/ways_out_test.cpp
)
add_executable(e2e_tests tests/e2e/e2e_main.cpp ${TESSARO_E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE tessaro_e2e_harness tessaro_slides GTest::gtest)
target_compile_definitions(e2e_tests PRIVATE TESSARO_QUICK_CYCLE_INTERVAL_MS=${TESSARO_QUICK_CYCLE_INTERVAL_MS})
target_compile_options(e2e_tests PRIVATE ${TESSARO_WARNINGS})
add_executable(fake_tool tests/e2e/fake_tool.cpp)
target_compile_definitions(fake_tool PRIVATE ${TESSARO_WIN32_DEFINITIONS})
tessaro_use_wide_entry(fake_tool)
add_library(planted_dll SHARED tests/e2e/planted_dll.cpp)
target_compile_definitions(planted_dll PRIVATE ${TESSARO_WIN32_DEFINITIONS})
set_target_properties(planted_dll PROPERTIES PREFIX "")
target_link_options(planted_dll PRIVATE -static)
add_dependencies(e2e_tests Tessaro TessaroQuickCycle TessaroCrash TessaroLongRun fake_tool planted_dll)

# Slides in their makers' colours: pictures and references made by ImageMagick, rendered through
# the program's decoder by render_slides (tests/colour/colour_test.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_executable(render_slides tests/colour/render_slides.cpp)
target_link_libraries(render_slides PRIVATE tessaro_wic)
tessaro_use_wide_entry(render_slides)
foreach(cases tagged lookup-table camera monitor untagged)
  add_test(NAME Colour.${cases}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/colour/colour_test.py ${cases} $<TARGET_FILE:render_slides>
            ${TESSARO_WINE_STATE} ${CMAKE_BINARY_DIR}/colour-test)
  set_tests_properties(Colour.${cases} PROPERTIES FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 180)
endforeach()

# Tests share one screen, pointer and keyboard: they run one at a time.
gtest_add_tests(TARGET win32_tests SOURCES ${TESSARO_WIN32_TEST_SOURCES} TEST_PREFIX "win32." TEST_LIST TESSARO_WIN32_TESTS)
gtest_add_tests(TARGET e2e_tests SOURCES ${TESSARO_E2E_SOURCES} TEST_LIST TESSARO_E2E_TESTS)
set_tests_properties(${TESSARO_WIN32_TESTS} ${TESSARO_E2E_TESTS} PROPERTIES
  FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 180)

# The tests that need two monitors, each run twice in a session of its own
# (tools/two-monitor-session.sh): with the second monitor right of the primary, then left of it.
# Wine reads the monitors once per session, so each layout is a fixture of its own, set up after
# the one before is cleaned up.
set(TESSARO_TWO_MONITOR_STATE ${CMAKE_BINARY_DIR}/two-monitors)
set(TESSARO_TWO_MONITOR_SOURCES tests/e2e/two_monitor_test.cpp)
add_executable(e2e_two_monitor_tests tests/e2e/e2e_main.cpp ${TESSARO_TWO_MONITOR_SOURCES})
target_link_libraries(e2e_two_monitor_tests PRIVATE tessaro_e2e_harness tessaro_slides GTest::gtest)
target_compile_options(e2e_two_monitor_tests PRIVATE ${TESSARO_WARNINGS})
set_target_properties(e2e_two_monitor_tests PROPERTIES
  CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/two-monitor-session.sh;run;${TESSARO_TWO_MONITOR_STATE}")
add_dependencies(e2e_two_monitor_tests Tessaro TessaroQuickCycle)
set(previous_layout "")
foreach(layout right left)
  add_test(NAME two_monitors_${layout}_start
    COMMAND ${CMAKE_SOURCE_DIR}/tools/two-monitor-session.sh start ${TESSARO_TWO_MONITOR_STATE} ${layout})
  add_test(NAME two_monitors_${layout}_stop
    COMMAND ${CMAKE_SOURCE_DIR}/tools/two-monitor-session.sh stop ${TESSARO_TWO_MONITOR_STATE})
  set_tests_properties(two_monitors_${layout}_start PROPERTIES FIXTURES_SETUP two_monitors_${layout} TIMEOUT 300)
  set_tests_properties(two_monitors_${layout}_stop PROPERTIES FIXTURES_CLEANUP two_monitors_${layout})
  if(previous_layout)
    set_tests_properties(two_monitors_${layout}_start PROPERTIES DEPENDS two_monitors_${previous_layout}_stop)
  endif()
  gtest_add_tests(TARGET e2e_two_monitor_tests SOURCES ${TESSARO_TWO_MONITOR_SOURCES}
    TEST_PREFIX "two_monitors.${layout}." TEST_LIST TESSARO_TWO_MONITOR_TESTS)
  set_tests_properties(${TESSARO_TWO_MONITOR_TESTS} PROPERTIES
    FIXTURES_REQUIRED two_monitors_${layout} RESOURCE_LOCK two_monitors TIMEOUT 180)
  set(previous_layout ${layout})
endforeach()
