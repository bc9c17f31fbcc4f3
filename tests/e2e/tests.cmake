# The real executables on scripted input: exact output, status and file, case
# by case; and saving where the medium refuses (no write permission, a
# read-only or full medium, a file-size limit) and through links.
foreach(lang en sv)
  add_test(NAME e2e_${lang}
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:dprep-${lang}>
            ${CMAKE_CURRENT_LIST_DIR}/cases/${lang})
  add_test(NAME e2e_save_failures_${lang}
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/save-failures.sh $<TARGET_FILE:dprep-${lang}>
            ${CMAKE_CURRENT_LIST_DIR}/cases/${lang})
  set_tests_properties(e2e_save_failures_${lang} PROPERTIES SKIP_RETURN_CODE 77)
endforeach()
