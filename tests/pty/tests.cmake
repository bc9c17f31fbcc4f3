# The programs on a pseudo-terminal, answered as an operator answers them:
# each answer typed once the program waits for it, the echo included in what
# is compared with the end-to-end cases' output.
# Built for each language, with its catalog.
foreach(lang en sv)
  add_executable(pty_tests_${lang}
    ${CMAKE_CURRENT_LIST_DIR}/pty_test.cc
    ${CMAKE_CURRENT_LIST_DIR}/terminal.cc
    ${PROJECT_SOURCE_DIR}/lang/${lang}.cc)
  target_include_directories(pty_tests_${lang} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/lang)
  target_compile_options(pty_tests_${lang} PRIVATE ${DPREP_TEST_OPTIONS})
  target_link_libraries(pty_tests_${lang} PRIVATE util)
  set(cases)
  foreach(case whole-run arrow-key eof-mid-dialogue eof-at-confirm last-line-without-lf)
    list(APPEND cases ${PROJECT_SOURCE_DIR}/tests/e2e/cases/${lang}/${case})
  endforeach()
  add_test(NAME pty_${lang} COMMAND pty_tests_${lang} $<TARGET_FILE:dprep-${lang}> ${cases})
  set_tests_properties(pty_${lang} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
# Swedish, the language with letters beyond ASCII, in a UTF-8 locale too.
add_test(NAME pty_sv_utf8 COMMAND pty_tests_sv $<TARGET_FILE:dprep-sv> ${cases})
set_tests_properties(pty_sv_utf8 PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
  ENVIRONMENT DPREP_UTF8=sv_SE.UTF-8)
