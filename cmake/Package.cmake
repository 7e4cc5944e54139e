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
# libpng, libdeflate, expat and libzip are loaded by name when first needed, so
# dpkg-shlibdeps does not see them: each soname's package by Debian's naming (libzip.so.4 in
# libzip4, libpng16.so.16 in libpng16-16, a hyphen where the name ends in a digit).
set(late_packages "")
foreach(soname IN LISTS SSF_LATE_SONAMES)
  if(soname MATCHES "^(lib.*[0-9])\\.so\\.([0-9]+)$")
    list(APPEND late_packages "${CMAKE_MATCH_1}-${CMAKE_MATCH_2}")
  elseif(soname MATCHES "^(lib.*)\\.so\\.([0-9]+)$")
    list(APPEND late_packages "${CMAKE_MATCH_1}${CMAKE_MATCH_2}")
  endif()
endforeach()
list(JOIN late_packages ", " late_depends)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${late_depends}")
# The SVG plug-in that draws the window icon; Qt's own Russian texts for the standard
# buttons; the desktop tools that the menu item
# "Ассоциировать с SSF" runs to refresh the desktop's caches.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, qt6-translations-l10n, shared-mime-info, desktop-file-utils")

include(CPack)
