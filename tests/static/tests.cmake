# The fully static programs: no loader, no shared library, a whole session in
# an empty root.
if(DPREP_STATIC)
  foreach(lang en sv)
    add_test(NAME static_${lang}
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/static-test.sh $<TARGET_FILE:dprep-${lang}>
              ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cases/${lang}/whole-run)
    set_tests_properties(static_${lang} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
endif()
