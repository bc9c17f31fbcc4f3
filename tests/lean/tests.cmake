# The programs' imports and size of code, where they mean what the test takes
# them to: the optimised, dynamically linked programs. The sanitizers and
# coverage bring run-times of their own, a fully static program imports
# nothing, and unoptimised code keeps bounds checks that the optimiser
# proves dead, whose throw brings in the exception code.
if(NOT DPREP_STATIC AND NOT DPREP_SANITIZE AND NOT DPREP_COVERAGE
    AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  add_test(NAME lean COMMAND ${CMAKE_CURRENT_LIST_DIR}/lean-test.sh
    $<TARGET_FILE:dprep-en> $<TARGET_FILE:dprep-sv>)
  set_tests_properties(lean PROPERTIES SKIP_RETURN_CODE 77)
endif()
