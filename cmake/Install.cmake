# `cmake --install build [--prefix DIR]`: the programs, the sample maps and what a Linux
# desktop needs to list the editor and open ".ssf" files with it. An installed program
# finds its maps in <prefix>/share/quillbay-ssf-manager/ThemeMaps (see src/theme/MapsFolder.h),
# so bin and share must stay side by side under the prefix.

install(TARGETS ssftool RUNTIME DESTINATION bin)
if(TARGET ssf-manager)
  install(TARGETS ssf-manager RUNTIME DESTINATION bin)
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/ThemeMaps/
  DESTINATION share/quillbay-ssf-manager/ThemeMaps
  PATTERN ".keep" EXCLUDE)

set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)
install(FILES ${desktop_dir}/quillbay-ssf-manager.desktop DESTINATION share/applications)
install(FILES ${desktop_dir}/quillbay-ssf-manager.xml DESTINATION share/mime/packages)
install(FILES ${desktop_dir}/quillbay-ssf-manager.svg DESTINATION share/icons/hicolor/scalable/apps)
