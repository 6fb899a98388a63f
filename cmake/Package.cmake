# The Debian package (`./run.sh package`, CPack's DEB generator): the three programs, the desktop
# file, icon and AppStream metainfo, the help pages, agreement, alarm sound and demo market, and the
# manual pages, installed under /usr. The library dependencies are read off the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Quillon developers <developers@quillon.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stock and option screener")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillon keeps a list of stock symbols and screens each one against criteria\n\
on its stock figures and on the implied volatility of its options, fetched\n\
from a quote server or replayed from a quote cache. It comes with a terminal\n\
program for headless runs and a stand-in quote server with a made-up market.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the platform plugins and the SVG icon.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_STRIP_FILES ON)
include(CPack)
