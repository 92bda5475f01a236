# Run after a test program is linked: lists its GoogleTest suites and writes the CTest file that
# registers one test per suite. A suite runs in one process, so the thousands of cases cost a few
# hundred process starts (each one maps the sanitizers' shadow memory) instead of one each.
# Variables: TEST_PROGRAM, TEST_NAME (the program's target), WORKING_DIR, SUITES_FILE,
# TEST_TIMEOUT, TEST_ENVIRONMENT (NAME=value settings joined by "|").
string(REPLACE "|" ";" TEST_ENVIRONMENT "${TEST_ENVIRONMENT}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${TEST_ENVIRONMENT} ${TEST_PROGRAM} --gtest_list_tests
                WORKING_DIRECTORY ${WORKING_DIR}
                TIMEOUT 60
                RESULT_VARIABLE result
                OUTPUT_VARIABLE listing
                ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST_PROGRAM} could not list its tests (${result}):\n${listing}${errors}")
endif()

# A suite's line starts in the first column and ends its name with a dot, perhaps followed by a
# comment ("Typed/Suite/0.  # TypeParam = int"); its cases follow indented.
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(content "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    string(APPEND content
           "add_test([==[${suite}]==] [==[${TEST_PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n"
           "set_tests_properties([==[${suite}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKING_DIR}]==]"
           " TIMEOUT ${TEST_TIMEOUT} LABELS ${TEST_NAME} ENVIRONMENT [==[${TEST_ENVIRONMENT}]==])\n")
  endif()
endforeach()
if(content STREQUAL "")
  message(FATAL_ERROR "${TEST_PROGRAM} lists no test suite:\n${listing}")
endif()
file(WRITE ${SUITES_FILE} "${content}")
