# `cpack` in the build folder makes a Debian package of what `cmake --install` places.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pairgauge)
set(CPACK_PACKAGE_VENDOR "Pairgauge")
set(CPACK_PACKAGE_CONTACT "Pairgauge developers <pairgauge@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "handicaps for a duplicate-bridge club")
set(CPACK_PACKAGE_DESCRIPTION
  "Pairgauge keeps the playing handicaps of the members of a duplicate-bridge club. It reads the
pairs results the club's scoring program leaves, scores every session again, moves each member's
handicap after sessions above or below the field's average within limits the club sets, and,
once the handicap secretary has reviewed them, writes them back to the membership file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plugins at run time, so the libraries alone do not say it needs them;
# a font makes sure a bare machine shows the windows' texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
