# The Windows program Tessaro.scr, a quick-cycle copy of it for tests, the tests that run under
# Wine, the demo and the dialog screenshots.

# Windows 7 SP1 is the oldest system the program supports (see the manifest). Functions that came
# later are not even declared; where the program uses one, it looks it up at run time.
set(TESSARO_WIN32_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Decoding and composing slides with WIC: the program's and the render benchmark's. COM is loaded
# at run time by the thread that decodes, so neither ole32 nor WIC is imported.
add_library(tessaro_slide_decoder STATIC src/saver/wic_slide_decoder.cpp src/win32/handle_stream.cpp
  src/win32/file_information.cpp src/win32/diagnostics.cpp)
target_compile_definitions(tessaro_slide_decoder PUBLIC ${TESSARO_WIN32_DEFINITIONS})
target_compile_options(tessaro_slide_decoder PRIVATE ${TESSARO_WARNINGS})
target_link_libraries(tessaro_slide_decoder PUBLIC tessaro_core uuid windowscodecs)

# The windows and the rest of the Win32 layer, compiled once for both copies of the program.
add_library(tessaro_windows STATIC
  src/win32/dpi.cpp
  src/win32/message_loop.cpp
  src/win32/module_info.cpp
  src/startup/single_instance.cpp
  src/saver/desktop_changes.cpp
  src/saver/crash_guard.cpp
  src/saver/form1.cpp
  src/saver/monitor_cover.cpp
  src/dialogs/dialog_geometry.cpp
  src/dialogs/form2.cpp
  src/dialogs/about_box.cpp
  src/dialogs/sysinfo_windows.cpp
)
target_include_directories(tessaro_windows PUBLIC src resources)
target_compile_options(tessaro_windows PRIVATE ${TESSARO_WARNINGS})
target_link_libraries(tessaro_windows PUBLIC tessaro_slide_decoder user32 gdi32 imm32 version advapi32)

# The resource script pulls in the icon, the manifest and the version, which CMake's scan of
# #include lines does not see: without these, editing any of them would not rebuild the program.
set_source_files_properties(resources/tessaro.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_CURRENT_SOURCE_DIR}/resources/resource.h;${CMAKE_CURRENT_SOURCE_DIR}/resources/tessaro.ico;${TESSARO_GENERATED_DIR}/tessaro.manifest;${TESSARO_GENERATED_DIR}/version.h")

function(tessaro_add_resources target)
  target_sources(${target} PRIVATE resources/tessaro.rc)
  if(MINGW)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:-c65001>)
  elseif(MSVC)
    target_link_options(${target} PRIVATE /MANIFEST:NO)  # the resource script embeds ours
  endif()
endfunction()

function(tessaro_use_wide_entry target)
  if(MINGW)
    target_compile_options(${target} PRIVATE -municode)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# A copy of the program. Its slide interval and the decoder its workers render with are chosen
# when it is linked (slide_interval.h, slide_decoder_choice.h); a test build may add sources.
function(tessaro_add_saver name interval_ms decoder_choice)
  add_executable(${name} WIN32 src/startup/main.cpp src/saver/slide_interval.cpp ${decoder_choice} ${ARGN})
  target_compile_definitions(${name} PRIVATE TESSARO_SLIDE_INTERVAL_MS=${interval_ms})
  target_compile_options(${name} PRIVATE ${TESSARO_WARNINGS})
  target_link_libraries(${name} PRIVATE tessaro_windows)
  tessaro_add_resources(${name})
  tessaro_use_wide_entry(${name})
  set_target_properties(${name} PROPERTIES SUFFIX ".scr")
endfunction()

tessaro_add_saver(Tessaro ${TESSARO_SLIDE_INTERVAL_MS} src/saver/wic_decoder_choice.cpp)
tessaro_add_saver(TessaroQuickCycle ${TESSARO_QUICK_CYCLE_INTERVAL_MS} src/saver/wic_decoder_choice.cpp)
# Test builds, never shipped: one whose decoder crashes on purpose on the slides that ask for it;
# one that changes slides every 40 ms and reports what the process holds every ten slides.
tessaro_add_saver(TessaroCrash ${TESSARO_QUICK_CYCLE_INTERVAL_MS} tests/builds/crashing_decoder.cpp)
tessaro_add_saver(TessaroLongRun 40 tests/builds/sampling_decoder.cpp)

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

# Drives a real Tessaro.scr from outside: the end-to-end tests, the demo and the screenshots.
add_library(tessaro_e2e_harness STATIC tests/e2e/harness.cpp tests/e2e/usage_log.cpp)
target_include_directories(tessaro_e2e_harness PUBLIC tests/e2e)
target_link_libraries(tessaro_e2e_harness PUBLIC tessaro_windows psapi)
target_compile_options(tessaro_e2e_harness PRIVATE ${TESSARO_WARNINGS})

# The demo: the shipped program on 46 generated slides, with a screenshot of each, timed by the
# shipped interval. dialog_capture takes the README's pictures of the dialogs.
foreach(tool demo_capture dialog_capture)
  add_executable(${tool} tools/${tool}.cpp)
  target_link_libraries(${tool} PRIVATE tessaro_e2e_harness)
  target_compile_options(${tool} PRIVATE ${TESSARO_WARNINGS})
  tessaro_use_wide_entry(${tool})
endforeach()
target_compile_definitions(demo_capture PRIVATE TESSARO_SLIDE_INTERVAL_MS=${TESSARO_SLIDE_INTERVAL_MS})

find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/demo/ZUMIK46.DAT
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_slides.py ${CMAKE_BINARY_DIR}/demo
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_slides.py
    COMMENT "Drawing the 46 demo slides"
    VERBATIM)
  add_custom_target(demo_slides
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tessaro> ${CMAKE_BINARY_DIR}/demo/Tessaro.scr
    DEPENDS ${CMAKE_BINARY_DIR}/demo/ZUMIK46.DAT Tessaro
    VERBATIM)
endif()

# The whole per-tick slide work under WIC, on a folder of slides (bench/).
add_executable(bench_slide_render bench/slide_render_bench.cpp)
target_link_libraries(bench_slide_render PRIVATE tessaro_slide_decoder)
tessaro_use_wide_entry(bench_slide_render)

# The saver against its floors (bench/): bench_saver drives the real program; bench_bare_window
# and bench_decode_floor are the least a program can do for the same result.
add_executable(bench_saver bench/saver_bench.cpp)
target_link_libraries(bench_saver PRIVATE tessaro_e2e_harness)
target_compile_definitions(bench_saver PRIVATE TESSARO_QUICK_CYCLE_INTERVAL_MS=${TESSARO_QUICK_CYCLE_INTERVAL_MS})
add_executable(bench_bare_window WIN32 bench/bare_window.cpp)
add_executable(bench_decode_floor bench/decode_floor.cpp)
target_include_directories(bench_decode_floor PRIVATE src)
target_link_libraries(bench_decode_floor PRIVATE ole32 windowscodecs)
foreach(bench bench_saver bench_bare_window bench_decode_floor)
  target_compile_definitions(${bench} PRIVATE ${TESSARO_WIN32_DEFINITIONS})
  target_compile_options(${bench} PRIVATE ${TESSARO_WARNINGS})
  tessaro_use_wide_entry(${bench})
endforeach()
add_dependencies(bench_saver bench_bare_window bench_decode_floor Tessaro TessaroQuickCycle)

# A long run of the saver over the demo slides, with what the process holds along the way (bench/).
add_executable(bench_long_run bench/long_run_bench.cpp)
target_link_libraries(bench_long_run PRIVATE tessaro_e2e_harness)
target_compile_options(bench_long_run PRIVATE ${TESSARO_WARNINGS})
tessaro_use_wide_entry(bench_long_run)
add_dependencies(bench_long_run TessaroLongRun)

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
)
add_executable(win32_tests ${TESSARO_WIN32_TEST_SOURCES} tests/win32/dialog_host.cpp tests/win32/last_error_changing_delete.cpp)
target_link_libraries(win32_tests PRIVATE tessaro_e2e_harness GTest::gtest_main)
target_include_directories(win32_tests PRIVATE tests)
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
)
add_executable(e2e_tests tests/e2e/e2e_main.cpp ${TESSARO_E2E_SOURCES})
target_link_libraries(e2e_tests PRIVATE tessaro_e2e_harness GTest::gtest)
target_include_directories(e2e_tests PRIVATE tests)
target_compile_definitions(e2e_tests PRIVATE TESSARO_QUICK_CYCLE_INTERVAL_MS=${TESSARO_QUICK_CYCLE_INTERVAL_MS})
target_compile_options(e2e_tests PRIVATE ${TESSARO_WARNINGS})
add_executable(fake_tool tests/e2e/fake_tool.cpp)
target_compile_definitions(fake_tool PRIVATE ${TESSARO_WIN32_DEFINITIONS})
tessaro_use_wide_entry(fake_tool)
add_dependencies(e2e_tests Tessaro TessaroQuickCycle TessaroCrash TessaroLongRun fake_tool)

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
target_link_libraries(e2e_two_monitor_tests PRIVATE tessaro_e2e_harness GTest::gtest)
target_include_directories(e2e_two_monitor_tests PRIVATE tests)
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
