# What `cmake --install` puts where, and the Debian package CPack makes of it: the program, the
# generated content under share/redkite (the program finds it there), a desktop entry that starts
# the setup dialog, the icon, the manual page made from --help, and the licence.
include(GNUInstallDirs)

set(REDKITE_SHARE ${CMAKE_BINARY_DIR}/share)
add_custom_command(OUTPUT ${REDKITE_SHARE}/redkite.6
  COMMAND ${CMAKE_COMMAND} -DREDKITE=$<TARGET_FILE:redkite> -DVERSION=${PROJECT_VERSION}
          -DOUTPUT=${REDKITE_SHARE}/redkite.6 -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
  DEPENDS redkite ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Writing the manual page from --help")
# Debian wants manual pages and changelogs compressed with gzip -9n (no name or time stamp).
add_custom_command(OUTPUT ${REDKITE_SHARE}/redkite.6.gz ${REDKITE_SHARE}/changelog.gz
  COMMAND gzip -9nc ${REDKITE_SHARE}/redkite.6 > ${REDKITE_SHARE}/redkite.6.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/changelog > ${REDKITE_SHARE}/changelog.gz
  DEPENDS ${REDKITE_SHARE}/redkite.6 ${PROJECT_SOURCE_DIR}/resources/changelog)
add_custom_target(manual ALL DEPENDS ${REDKITE_SHARE}/redkite.6.gz)

install(TARGETS redkite RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/content/ DESTINATION ${CMAKE_INSTALL_DATADIR}/redkite
        PATTERN ".contentgen.stamp" EXCLUDE PATTERN "*.part" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/resources/redkite.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${REDKITE_SHARE}/redkite.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
install(FILES ${REDKITE_SHARE}/redkite.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/redkite RENAME copyright)
install(FILES ${REDKITE_SHARE}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/redkite)

# cpack -G DEB in the build folder: run-time dependencies worked out from the binary by
# dpkg-shlibdeps; ffmpeg (capture) and the label font (contact sheet) as recommendations.
set(CPACK_PACKAGE_NAME redkite)
set(CPACK_PACKAGE_VENDOR "The Red Kite developers")
set(CPACK_PACKAGE_CONTACT "The Red Kite developers <redkite@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual presentation")
set(CPACK_PACKAGE_DESCRIPTION "Fourteen 3D scene renderers timed to one piece of music, with a
setup dialog before the window opens and keys to seek. It also runs headless,
rendering frames, a video capture with the music, or a trace of every device
call.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY redkite)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, fonts-dejavu-core")
include(CPack)
