# Runs one fuzz target RUNS times, the same way every time (a fixed seed, and its seeds plus an
# emptied scratch corpus, where libFuzzer writes what it learns, so the repository's seeds stay
# as they are). Fails on any finding, which is kept in FINDINGS.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH} ${FINDINGS})
execute_process(
  COMMAND ${TARGET} -runs=${RUNS} -seed=1 -print_final_stats=1 -artifact_prefix=${FINDINGS}/ ${SCRATCH} ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TARGET} found a fault (exit ${result}); the input is in ${FINDINGS}")
endif()
