# Saving where the medium refuses (no write permission, a read-only or full
# medium, fconfig.dat a directory) and through symbolic links.
add_test(NAME e2e_save_failures_en
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/save-failures.sh $<TARGET_FILE:dprep-en>)
add_test(NAME e2e_save_failures_sv
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/save-failures.sh $<TARGET_FILE:dprep-sv>)
