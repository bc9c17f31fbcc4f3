# The manual pages render without a warning, fit 80 columns and document
# every key of the file. Skipped (77), after the checks it could make, where
# mandoc, groff or man is missing. Every build makes the same pages: the
# plain builds check them, the instrumented and static ones need not.
if(NOT DPREP_SANITIZE AND NOT DPREP_COVERAGE AND NOT DPREP_STATIC)
  add_test(NAME man_pages COMMAND ${CMAKE_CURRENT_LIST_DIR}/lint.sh ${PROJECT_BINARY_DIR}/man)
  set_tests_properties(man_pages PROPERTIES SKIP_RETURN_CODE 77)
endif()
