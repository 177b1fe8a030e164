# The Debian package of the GTK game, laid out as Debian lays out a game: the
# program in /usr/games, its manual page in section 6, the marks in
# /usr/share/indovina, the desktop entry, icon and AppStream metadata under the
# application id, the copyright file and the changelog in /usr/share/doc/indovina.
# `cmake --build --preset linux --target package` makes
# build/linux/indovina_0.01_amd64.deb; Package.DebianPackageIsLintianClean
# (tests/package) checks it with lintian, desktop-file-validate and appstreamcli.
include(GNUInstallDirs)

set(INDOVINA_CONTACT "Squadra di Indovina il numero <autore@example.com>")
# The program's licence, named here once: the copyright file and the AppStream
# metadata take it from here. None has been chosen yet, so the name says that all
# rights are reserved, and assets/copyright.in says so in words; when a licence is
# chosen, name it here (as SPDX does) and put its text in place of those words.
set(INDOVINA_LICENSE "LicenseRef-proprietary")

# Debian keeps games' programs in /usr/games. The game finds its marks in
# share/indovina beside the folder it is started from, so they stay where they are.
install(TARGETS indovina RUNTIME DESTINATION games)
install(FILES assets/q.bmp assets/c.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/indovina)

set(debian_dir ${CMAKE_BINARY_DIR}/debian)
configure_file(assets/${INDOVINA_APP_ID}.desktop.in ${debian_dir}/${INDOVINA_APP_ID}.desktop @ONLY)
configure_file(assets/${INDOVINA_APP_ID}.metainfo.xml.in ${debian_dir}/${INDOVINA_APP_ID}.metainfo.xml @ONLY)
configure_file(assets/copyright.in ${debian_dir}/copyright @ONLY)
install(FILES ${debian_dir}/${INDOVINA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${debian_dir}/${INDOVINA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES assets/${INDOVINA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${debian_dir}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page and the changelog go in compressed as Debian asks: gzip -9, with
# no name or time stamp in the header, so the same text always makes the same file.
find_program(INDOVINA_GZIP gzip REQUIRED)
configure_file(assets/indovina.6.in ${debian_dir}/indovina.6 @ONLY)
configure_file(assets/changelog ${debian_dir}/changelog COPYONLY)
add_custom_command(OUTPUT ${debian_dir}/indovina.6.gz ${debian_dir}/changelog.gz
  COMMAND ${INDOVINA_GZIP} -9nkf indovina.6 changelog
  DEPENDS ${debian_dir}/indovina.6 ${debian_dir}/changelog
  WORKING_DIRECTORY ${debian_dir} VERBATIM)
add_custom_target(indovina_debian_docs ALL DEPENDS ${debian_dir}/indovina.6.gz ${debian_dir}/changelog.gz)
install(FILES ${debian_dir}/indovina.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${debian_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The libraries it needs are found by dpkg-shlibdeps; the faces the board asks for
# come from three font packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME indovina)
set(CPACK_PACKAGE_VERSION ${INDOVINA_VERSION})
set(CPACK_PACKAGE_VENDOR "${INDOVINA_NAME}")
set(CPACK_PACKAGE_CONTACT "${INDOVINA_CONTACT}")
# Debian's short description does not repeat the package's name; the lines of the
# long one are at most 80 characters (and hold no double quotes, which CPack
# does not pass on as they are).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "number-guessing game: four different digits in fourteen tries")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "${INDOVINA_NAME} (Italian for 'guess the number') is a small desktop game, in"
  "Italian. The computer thinks of a number of four different digits that does"
  "not begin with 0, and you have fourteen tries to find it. Every guess is"
  "answered with a square for each right digit in the right place and a circle"
  "for each right digit in the wrong place.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-freefont-ttf, fonts-ocr-b")
include(CPack)
