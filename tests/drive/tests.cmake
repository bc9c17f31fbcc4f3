# The programs on the floppy drive of an emulated PC (amd64, or a Pentium II
# for a 32-bit build) under Debian's own kernel; fully static builds only, as
# the PC has nothing but busybox besides them. Skipped (77) where QEMU, the
# tools or Debian's packages are missing.
if(DPREP_STATIC)
  add_test(NAME drive
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/drive-test.sh $<TARGET_FILE:dprep-en> $<TARGET_FILE:dprep-sv>)
  set_tests_properties(drive PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
endif()
