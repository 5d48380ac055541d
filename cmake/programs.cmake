# Tessaro.scr, and the copies of it that only the tests and benchmarks run. Every one is the same
# program (the startup library and the resources) with an entry point that says how its saver is
# built: how long a slide stays (TESSARO_SLIDE_INTERVAL_MS) and what decodes the slides.

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

# A copy of the program from the entry point `entry`, with a slide every interval_ms.
function(tessaro_add_saver name interval_ms entry)
  add_executable(${name} WIN32 ${entry})
  target_compile_definitions(${name} PRIVATE TESSARO_SLIDE_INTERVAL_MS=${interval_ms})
  target_compile_options(${name} PRIVATE ${TESSARO_WARNINGS})
  target_link_libraries(${name} PRIVATE tessaro_startup)
  tessaro_add_resources(${name})
  tessaro_use_wide_entry(${name})
  set_target_properties(${name} PROPERTIES SUFFIX ".scr")
endfunction()

tessaro_add_saver(Tessaro ${TESSARO_SLIDE_INTERVAL_MS} src/startup/main.cpp)
# Test builds, never shipped: the program with a shorter interval; one whose decoder crashes on
# purpose on the slides that ask for it; one that changes slides every 40 ms and reports what the
# process holds every ten slides.
tessaro_add_saver(TessaroQuickCycle ${TESSARO_QUICK_CYCLE_INTERVAL_MS} src/startup/main.cpp)
tessaro_add_saver(TessaroCrash ${TESSARO_QUICK_CYCLE_INTERVAL_MS} tests/builds/crashing_decoder.cpp)
tessaro_add_saver(TessaroLongRun 40 tests/builds/sampling_decoder.cpp)
