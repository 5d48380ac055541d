# The benchmarks (bench/): each prints its figures beside floors measured in the same run.

if(NOT WIN32)
  # The platform-free slide pipeline, on the host.
  add_executable(bench_slide_pipeline bench/slide_pipeline_bench.cpp)
  target_link_libraries(bench_slide_pipeline PRIVATE tessaro_slides)
  return()
endif()

# The whole per-tick slide work under WIC, on a folder of slides.
add_executable(bench_slide_render bench/slide_render_bench.cpp)
target_link_libraries(bench_slide_render PRIVATE tessaro_wic tessaro_show)
tessaro_use_wide_entry(bench_slide_render)

# The saver against its floors: bench_saver drives the real program; bench_bare_window and
# bench_decode_floor are the least a program can do for the same result, and bench_naive_saver
# what a saver that does everything in turn on one thread does.
add_executable(bench_saver bench/saver_bench.cpp)
target_link_libraries(bench_saver PRIVATE tessaro_e2e_harness tessaro_wic)
target_compile_definitions(bench_saver PRIVATE TESSARO_QUICK_CYCLE_INTERVAL_MS=${TESSARO_QUICK_CYCLE_INTERVAL_MS})
add_executable(bench_bare_window WIN32 bench/bare_window.cpp)
add_executable(bench_naive_saver WIN32 bench/naive_saver.cpp)
add_executable(bench_decode_floor bench/decode_floor.cpp)
foreach(bench bench_naive_saver bench_decode_floor)
  target_include_directories(${bench} PRIVATE src tests)
  target_link_libraries(${bench} PRIVATE ole32 windowscodecs)
endforeach()
foreach(bench bench_saver bench_bare_window bench_naive_saver bench_decode_floor)
  target_compile_definitions(${bench} PRIVATE ${TESSARO_WIN32_DEFINITIONS})
  target_compile_options(${bench} PRIVATE ${TESSARO_WARNINGS})
  tessaro_use_wide_entry(${bench})
endforeach()
add_dependencies(bench_saver bench_bare_window bench_naive_saver bench_decode_floor Tessaro TessaroQuickCycle)

# A long run of the saver over the demo slides, with what the process holds along the way.
add_executable(bench_long_run bench/long_run_bench.cpp)
target_link_libraries(bench_long_run PRIVATE tessaro_e2e_harness)
target_compile_options(bench_long_run PRIVATE ${TESSARO_WARNINGS})
tessaro_use_wide_entry(bench_long_run)
add_dependencies(bench_long_run TessaroLongRun)
