# Runs the fuzz target once from seed 1. The inputs it finds go to a corpus folder emptied
# first, never into the seeds in the source tree, so each run starts from the same inputs; an
# input that fails is kept beside that folder as crash-*, leak-* or timeout-*.
# Usage: cmake -DFUZZER=<target> -DSEEDS=<seed folder> -DWORK=<work folder> -DRUNS=<count>
#              -P run_fuzz.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
execute_process(COMMAND ${FUZZER} -artifact_prefix=${WORK}/ -seed=1 -runs=${RUNS}
                        -max_total_time=60 -max_len=4096 ${WORK}/corpus ${SEEDS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "The LastPath reader failed on an input; it is saved in ${WORK}/")
endif()
