# `cmake --install` into a staging root, and the installed programs run.
add_test(NAME install
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/install-test.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})

# The Debian package, made by Debian's tools, unpacked and run, and lintian's
# verdict on it. Not for instrumented or fully static builds: their tests are
# of other programs than the package's.
if(NOT DPREP_SANITIZE AND NOT DPREP_COVERAGE AND NOT DPREP_STATIC)
  add_test(NAME package
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/package-test.sh ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
  set_tests_properties(package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
