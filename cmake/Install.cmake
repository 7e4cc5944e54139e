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
install(FILES ${desktop_dir}/com.quillbay.SsfManager.metainfo.xml DESTINATION share/metainfo)

# Manual pages go compressed, as Debian keeps them; gzip -n leaves out the time stamp so
# that the same sources give the same package.
set(man_pages ssftool.1 ssf-manager.1)
set(man_gz)
foreach(page IN LISTS man_pages)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/data/man/${page} > ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/man/${page}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND man_gz ${gz})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_gz})
install(FILES ${man_gz} DESTINATION share/man/man1)

install(FILES ${CMAKE_SOURCE_DIR}/data/completion/ssftool.bash
  DESTINATION share/bash-completion/completions RENAME ssftool)
