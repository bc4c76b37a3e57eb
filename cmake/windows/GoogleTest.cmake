# gtest_discover_tests for the Windows cross build: the whole suite is one
# test, run through the cross-compiling emulator (Wine), with the properties
# the call gives. GoogleTest prints every failed case; the test fails when
# any case fails or when the program does not run at all.
function(gtest_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_PRETTY_TYPES;NO_PRETTY_VALUES"
    "DISCOVERY_MODE;DISCOVERY_TIMEOUT;TEST_PREFIX;TEST_SUFFIX;TEST_LIST;WORKING_DIRECTORY"
    "EXTRA_ARGS;PROPERTIES")
  set(dir ${CMAKE_CURRENT_BINARY_DIR})
  if(arg_WORKING_DIRECTORY)
    set(dir ${arg_WORKING_DIRECTORY})
  endif()
  add_test(NAME ${arg_TEST_PREFIX}${target}${arg_TEST_SUFFIX}
           COMMAND ${target} --gtest_brief=1 ${arg_EXTRA_ARGS}
           WORKING_DIRECTORY ${dir})
  set_tests_properties(${arg_TEST_PREFIX}${target}${arg_TEST_SUFFIX} PROPERTIES TIMEOUT 1200 ${arg_PROPERTIES})
endfunction()

function(gtest_add_tests)
  message(FATAL_ERROR "gtest_add_tests is not used in this project")
endfunction()
