# A test program run with a filter that matches no test case must fail, and say so.
# Usage: cmake -DEMULATOR=SCRIPT -DPROGRAM=EXE -P no_test_case.cmake
execute_process(COMMAND sh ${EMULATOR} ${PROGRAM} --test-suite=no-such-suite
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status EQUAL 0 OR NOT output MATCHES "no test case ran")
    message(FATAL_ERROR "A filter matching no test case gave exit status ${status}:\n${output}")
endif()
message(STATUS "A filter matching no test case fails: exit status ${status}")
