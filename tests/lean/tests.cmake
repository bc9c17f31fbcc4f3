# The programs' imports and size of code, where they mean what the test takes
# them to: the dynamically linked programs. The sanitizers and coverage bring
# run-times of their own, and a fully static program imports nothing.
# Unoptimised code is twice the size, and keeps every bounds check, so a
# call that may throw shows there even where the optimiser proves it cannot.
if(NOT DPREP_STATIC AND NOT DPREP_SANITIZE AND NOT DPREP_COVERAGE)
  add_test(NAME lean COMMAND ${CMAKE_CURRENT_LIST_DIR}/lean-test.sh
    $<TARGET_FILE:dprep-en> $<TARGET_FILE:dprep-sv>)
  set_tests_properties(lean PROPERTIES SKIP_RETURN_CODE 77)
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    set_tests_properties(lean PROPERTIES ENVIRONMENT DPREP_MAX_TEXT=65536)
  endif()
endif()
