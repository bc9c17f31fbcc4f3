# Both programs under valgrind's memcheck: no heap allocation at all, no
# memory error, no leak, on cases that read a file with bad lines of control
# bytes, save, ask everything twice before saving, abort, and meet the end of
# input at the first question; the Swedish ones in a UTF-8 locale. Skipped
# (77) where valgrind is missing, and not run on a sanitizer build, whose
# shadow memory valgrind cannot host, nor on a fully static one, whose C
# library valgrind cannot see into (it reports its start-up code).
if(NOT DPREP_SANITIZE AND NOT DPREP_STATIC)
  foreach(lang en sv)
    add_test(NAME valgrind_${lang}
      COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/valgrind.sh $<TARGET_FILE:dprep-${lang}>
              ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cases/${lang}
              file-control-bytes whole-run confirm-no abort-a eof-at-first-question)
    set_tests_properties(valgrind_${lang} PROPERTIES SKIP_RETURN_CODE 77)
  endforeach()
  set_tests_properties(valgrind_sv PROPERTIES ENVIRONMENT DPREP_UTF8=sv_SE.UTF-8)
endif()
