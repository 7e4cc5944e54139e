# `cpack -G DEB` in a build folder: quillbay-ssf-manager_<version>_<arch>.deb with all
# that cmake/Install.cmake installs, under /usr. The library dependencies come from
# dpkg-shlibdeps (package dpkg-dev); the packages named below are what the programs run
# or load by name, which dpkg-shlibdeps cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbay-ssf-manager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quillbay)
set(CPACK_PACKAGE_CONTACT "${SSF_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the themes of feature phones")
# Lines of at most 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
  "Creates and edits the .ssf themes of feature phones: wallpapers, menu
pictures and colour tables in the phone's own formats, checked against a
theme map per phone model. Includes the command-line tool ssftool, sample
theme maps and the desktop integration.")
# No Homepage field: the project has no public page yet.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libzip is loaded by name when a workbook is read, so dpkg-shlibdeps does not see it:
# libzip.so.4 is in the package libzip4.
string(REGEX REPLACE "^lib(.*)\\.so\\.([0-9]+)$" "lib\\1\\2" libzip_package "${SSF_LIBZIP_SONAME}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${libzip_package}")
# The SVG plug-in that draws the window icon; Qt's own Russian texts for the standard
# buttons; the desktop tools that the menu item
# "Ассоциировать с SSF" runs to refresh the desktop's caches.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, qt6-translations-l10n, shared-mime-info, desktop-file-utils")

include(CPack)
