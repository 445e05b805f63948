# The Debian package, made by CPack (cpack -G DEB in the build folder). Its dependencies
# are computed from the shared libraries the programs and modules link (dpkg-shlibdeps);
# the desktop, MIME and icon caches are refreshed by the triggers Debian already has, so
# the package carries no maintainer scripts.

set(debian_doc ${CMAKE_CURRENT_BINARY_DIR}/doc)
file(MAKE_DIRECTORY ${debian_doc})
configure_file(debian/copyright ${debian_doc}/copyright COPYONLY)
configure_file(debian/changelog.in ${debian_doc}/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${debian_doc}/changelog.Debian.gz
  COMMAND gzip -9n -c ${debian_doc}/changelog.Debian > ${debian_doc}/changelog.Debian.gz
  DEPENDS ${debian_doc}/changelog.Debian
  VERBATIM)
add_custom_target(kelmor_debian_changelog ALL DEPENDS ${debian_doc}/changelog.Debian.gz)
install(FILES ${debian_doc}/copyright ${debian_doc}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelmor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kelmor developers <support@kelmor.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard and mouse recorder and player")
# The long description, below the summary; CPack indents its lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kelmor records the keys pressed and the mouse actions made in any X11
program and plays them back at four speeds, any number of times or
continuously. Recordings can be edited as text scripts (START, GOTO, TYPE,
WAIT, CLICK and placeholders), saved as .klr or .klx files, or as programs
that play themselves.

Hot-key Mappings type a text, start a program or play a recording, and
ShortType abbreviations expand as they are typed, in every program.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kelmor.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps reads the modules too, which live outside the library search path.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xterm")
# The default Editor setting runs xdg-open where the desktop cannot open a text itself.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# The kelmor program, installed as a file, keeps the padding its own build gave it.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR OFF)
include(CPack)
