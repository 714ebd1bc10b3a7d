# Installs mensor as a desktop program (binary, menu entry, icons, AppStream
# metadata) and describes its Debian package for CPack.
include(GNUInstallDirs)

set(MENSOR_APP_ID invalid.ortus.mensor)

install(TARGETS mensor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${MENSOR_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${MENSOR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/hicolor/${size}x${size}/apps/${MENSOR_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/hicolor/scalable/apps/${MENSOR_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The Debian documentation: copyright, changelog and manual page, the last
# two compressed as Debian wants them (gzip -9n, no time stamp).
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(doc changelog mensor.1)
  if(doc STREQUAL "changelog")
    set(source ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
  else()
    set(source ${PROJECT_SOURCE_DIR}/resources/${doc})
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${doc}.gz
    COMMAND gzip -9n -c ${source} > ${CMAKE_BINARY_DIR}/${doc}.gz
    DEPENDS ${source} VERBATIM)
endforeach()
add_custom_target(documentation ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/mensor.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_BINARY_DIR}/mensor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME mensor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measure positions on photographs")
set(CPACK_PACKAGE_DESCRIPTION "Open an image or a folder, calibrate an origin and a ruler of known\n length, click measurement points and copy their calibrated coordinates\n as a table.")
set(CPACK_PACKAGE_CONTACT "mensor developers <mensor@ortus.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the binary links, found by dpkg-shlibdeps; then what the
# program loads at run time without linking it: the image-format plug-ins
# (TIFF, WebP, ...) and the toolkit's own translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Phone, camera and newer formats come from the KDE image plug-ins, which
# Debian 12 offers for Qt 5 only.
if(MENSOR_QT EQUAL 6)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-translations-l10n")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt5-image-formats-plugins, qttranslations5-l10n")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "kimageformat-plugins")
endif()
include(CPack)
