# The Debian package: `cmake --build build --target package` makes
# veltrascope_<version>_<arch>.deb from the same install rules as
# `cmake --install`, below /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrascope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Veltra Scope developers <developers@veltrascope.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "display of a radar and laser detector on the desktop")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltra Scope reads the front panel of a radar and laser detector from
its serial line and draws it in a small window: band lamps, signal meter,
direction arrows and the count digit. It mutes the detector a set time
into an alert, hides itself in the notification area after one, and can
log every display change.
.
The package also holds veltrascope-decode, which turns a recorded stream
into the alert log, and veltrascope-sim, which plays a detector for
testing.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veltrascope.org")
# Dependencies as dpkg-shlibdeps finds them in the binaries, so they follow
# the libraries the build really linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to those: Qt loads the SVG icon engine as a plug-in at run time, so
# no binary links it and dpkg-shlibdeps cannot see it. Without it the window
# and the notification area show no icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Debian ships programs without debugging symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
