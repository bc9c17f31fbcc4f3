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
  add_test(NAME e2e_arguments_${lang}
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/arguments.sh $<TARGET_FILE:dprep-${lang}> ${PROJECT_VERSION})
  # In a UTF-8 locale (installed or not), which gets what they expect in
  # UTF-8: whole sessions through a pipe, with a file of bad lines, refused
  # characters quoted and the most Swedish letters; the unit tables pin each
  # rule of the conversion, and pty_sv_utf8 the terminal.
  add_test(NAME e2e_${lang}_utf8
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:dprep-${lang}>
            ${CMAKE_CURRENT_LIST_DIR}/cases/${lang}
            whole-run file-control-bytes bytes-shown mode-menu-numbers)
endforeach()
set_tests_properties(e2e_en_utf8 PROPERTIES ENVIRONMENT DPREP_UTF8=C.UTF-8)
set_tests_properties(e2e_sv_utf8 PROPERTIES ENVIRONMENT DPREP_UTF8=sv_FI.utf8)
