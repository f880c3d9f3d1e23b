# `cpack` in the build folder makes the packages of what `cmake --install` places: a Debian
# package on Linux; for Windows an installer and a portable zip.
set(CPACK_PACKAGE_VENDOR "Pairgauge")
set(CPACK_PACKAGE_CONTACT "Pairgauge developers <pairgauge@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "handicaps for a duplicate-bridge club")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # Pairgauge-<version>-win64.exe and .zip, both from the one install folder. The zip unpacks
  # into a folder of that name, which a secretary may unpack into the club's data folder.
  set(CPACK_GENERATOR "NSIS64;ZIP")
  set(CPACK_PACKAGE_NAME Pairgauge)
  set(CPACK_PACKAGE_FILE_NAME "Pairgauge-${PROJECT_VERSION}-win64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Pairgauge)
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
  # Our own installer script (cmake/windows/NSIS.template.in) in place of CPack's.
  set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/windows)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/icons/pairgauge.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/data/icons/pairgauge.ico)
  # The install strips the program and the libraries it ships itself (cmake/WindowsInstall.cmake).
  set(CPACK_STRIP_FILES OFF)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pairgauge)
set(CPACK_PACKAGE_DESCRIPTION
  "Pairgauge keeps the playing handicaps of the members of a duplicate-bridge club. It reads the
pairs results the club's scoring program leaves, scores every session again, moves each member's
handicap after sessions above or below the field's average within limits the club sets, and,
once the handicap secretary has reviewed them, writes them back to the membership file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plugins at run time, so the libraries alone do not say it needs them;
# a font makes sure a bare machine shows the windows' texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
