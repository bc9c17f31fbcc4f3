# Where `cmake --install` puts things (the programs and their manual pages),
# and the Debian package made from the same rules (`cpack`, or the `package`
# target).
include(GNUInstallDirs)

# The pages and the changelog name the project's version.
foreach(page dprep-en.1 dprep-sv.1)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)

install(TARGETS dprep-en dprep-sv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/man/dprep-en.1 ${PROJECT_BINARY_DIR}/man/dprep-sv.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)

# What only the Debian package carries, in the component `debian` that a
# plain `cmake --install` leaves out: the pages compressed, as Debian wants
# them (-n keeps the bytes the same from build to build), the changelog and
# copyright notice, and lintian's overrides.
find_program(DPREP_GZIP gzip)
set(dprep_deb_pages ${PROJECT_BINARY_DIR}/man/dprep-en.1 ${PROJECT_BINARY_DIR}/man/dprep-sv.1)
set(dprep_deb_docs ${PROJECT_BINARY_DIR}/changelog)
if(DPREP_GZIP)
  set(dprep_gz_outputs)
  foreach(src IN LISTS dprep_deb_pages dprep_deb_docs)
    get_filename_component(name ${src} NAME)
    set(out ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/compressed
      COMMAND ${DPREP_GZIP} -9nc ${src} > ${out}
      DEPENDS ${src} VERBATIM)
    list(APPEND dprep_gz_outputs ${out})
  endforeach()
  add_custom_target(dprep-compressed-docs ALL DEPENDS ${dprep_gz_outputs})
  list(TRANSFORM dprep_deb_pages REPLACE "^.*/([^/]+)$" "${PROJECT_BINARY_DIR}/compressed/\\1.gz")
  list(TRANSFORM dprep_deb_docs REPLACE "^.*/([^/]+)$" "${PROJECT_BINARY_DIR}/compressed/\\1.gz")
endif()
install(FILES ${dprep_deb_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
  COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${dprep_deb_docs} ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
# Words that lintian's English dictionary takes for slips.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME dprep
  COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dprep)
set(CPACK_PACKAGE_CONTACT "dprep maintainers <dprep@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "prepares an appliance's start-up configuration floppy")
# CPack indents these lines and marks the empty one as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION
"dprep asks a fixed series of questions at a terminal (inside interface,
IP number and netmask, the computer or network that may configure the
appliance, a static route, a password and an update mode), checks the
answers for consistency and writes fconfig.dat, the file that a network
security appliance reads from its floppy disk at boot.

The package holds two programs: dprep-en speaks English, dprep-sv Swedish.")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The programs and what only the package carries; not the plain pages.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${PROJECT_BINARY_DIR};dprep;Unspecified;/" "${PROJECT_BINARY_DIR};dprep;debian;/")
include(CPack)
