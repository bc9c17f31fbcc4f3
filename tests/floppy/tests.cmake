# Saves onto a FAT12 floppy image mounted through FUSE and read back with
# mtools; skipped (77) where FUSE, the tools or the right to mount are missing.
foreach(lang en sv)
  add_test(NAME floppy_${lang}
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/floppy-test.sh $<TARGET_FILE:dprep-${lang}>)
  set_tests_properties(floppy_${lang} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
