# Where `cmake --install` puts things: the programs and their manual pages.
# The Debian package (debian/) installs through these same rules.
include(GNUInstallDirs)

# The pages name the project's version.
foreach(page dprep-en.1 dprep-sv.1 fconfig.dat.5 sv/fconfig.dat.5)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
endforeach()
# The Swedish pages go where man looks in a Swedish locale; in any other,
# `man dprep-sv` finds the English page, which describes both programs, and
# `man fconfig.dat` the English page of the file.
file(WRITE ${PROJECT_BINARY_DIR}/man/so/dprep-sv.1 ".so man1/dprep-en.1\n")

install(TARGETS dprep-en dprep-sv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/man/dprep-en.1 ${PROJECT_BINARY_DIR}/man/so/dprep-sv.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/man/fconfig.dat.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
install(FILES ${PROJECT_BINARY_DIR}/man/dprep-sv.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/sv/man1)
install(FILES ${PROJECT_BINARY_DIR}/man/sv/fconfig.dat.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/sv/man5)
