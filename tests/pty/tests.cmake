# The programs on a pseudo-terminal, answered as an operator answers them:
# each answer typed once the program waits for it, the echo included in what
# is compared with the end-to-end cases' output.
add_executable(pty_tests
  ${CMAKE_CURRENT_LIST_DIR}/pty_test.cc
  ${CMAKE_CURRENT_LIST_DIR}/terminal.cc)
target_compile_options(pty_tests PRIVATE ${DPREP_TEST_OPTIONS})
target_link_libraries(pty_tests PRIVATE util)
foreach(lang en sv)
  set(cases)
  foreach(case whole-run arrow-key eof-mid-dialogue eof-at-confirm last-line-without-lf)
    list(APPEND cases ${PROJECT_SOURCE_DIR}/tests/e2e/cases/${lang}/${case})
  endforeach()
  add_test(NAME pty_${lang} COMMAND pty_tests $<TARGET_FILE:dprep-${lang}> ${cases})
  set_tests_properties(pty_${lang} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
# Swedish, the language with letters beyond ASCII, in a UTF-8 locale too.
add_test(NAME pty_sv_utf8 COMMAND pty_tests $<TARGET_FILE:dprep-sv> ${cases})
set_tests_properties(pty_sv_utf8 PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
  ENVIRONMENT DPREP_UTF8=sv_SE.UTF-8)
