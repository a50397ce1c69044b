# Lists a test program's cases and registers each as a CTest test that reports the outcome
# the program's one run (the test tunelore_run sets up) left in OUTCOMES/<case>.
#
#   cmake -DEMULATOR=... -DPROGRAM=... -DOUTCOMES=... -DOUT=<CTest script> -P register_cases.cmake
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --gtest_list_tests
  OUTPUT_VARIABLE listing RESULT_VARIABLE failure)
if(failure)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests: ${failure}")
endif()
string(REGEX REPLACE "\r?\n" ";" lines "${listing}")
set(script "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE " *#.*" "" line "${line}")
  if(line MATCHES "^([^ ]+\\.)$")
    set(suite ${CMAKE_MATCH_1})
  elseif(line MATCHES "^  ([^ ]+)$")
    set(case ${suite}${CMAKE_MATCH_1})
    string(REPLACE "/" "." file ${case})
    string(APPEND script "add_test([=[${case}]=] [=[${CMAKE_COMMAND}]=] -E cat [=[${OUTCOMES}/${file}]=])\n"
      "set_tests_properties([=[${case}]=] PROPERTIES FIXTURES_REQUIRED tunelore_run "
      "PASS_REGULAR_EXPRESSION ^passed SKIP_REGULAR_EXPRESSION ^skipped)\n")
  endif()
endforeach()
file(WRITE ${OUT} "${script}")
