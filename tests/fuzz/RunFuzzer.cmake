# cmake -DFUZZER=<executable> -DWORK=<scratch folder> -DMAX_LEN=<bytes> -DRUNS=<count>
#       -DSEEDS=<folder> -DREGRESSIONS=<folder> -P RunFuzzer.cmake
# A fixed number of fuzzing runs from the seeds and the inputs that once found a fault.
# New inputs go to the scratch folder, emptied first, never to the seed folders.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(corpora ${WORK} ${SEEDS})
if(IS_DIRECTORY ${REGRESSIONS})
  list(APPEND corpora ${REGRESSIONS})
endif()
execute_process(
  COMMAND ${FUZZER} -runs=${RUNS} -seed=1 -max_len=${MAX_LEN} -timeout=10 -rss_limit_mb=2048
          -artifact_prefix=${WORK}/ ${corpora}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${result}); the input is in ${WORK}")
endif()
