# `cmake --install build [--prefix DIR]`: the programs, the sample maps and what a Linux
# desktop needs to list the editor and open ".ssf" files with it. An installed program
# finds its maps in <prefix>/share/quillbay-ssf-manager/ThemeMaps (see src/theme/MapsFolder.h),
# so bin and share must stay side by side under the prefix.

install(TARGETS ssftool RUNTIME DESTINATION bin)
if(TARGET ssf-manager)
  install(TARGETS ssf-manager RUNTIME DESTINATION bin)
endif()
# The compilers' version notes (.comment) are no use to anyone running the programs.
find_program(SSF_OBJCOPY NAMES objcopy)
if(SSF_OBJCOPY)
  install(CODE "
    foreach(program ssftool ssf-manager)
      set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${program}\")
      if(EXISTS \"\${file}\")
        execute_process(COMMAND \"${SSF_OBJCOPY}\" --remove-section=.comment \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()")
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/ThemeMaps/
  DESTINATION share/quillbay-ssf-manager/ThemeMaps
  PATTERN ".keep" EXCLUDE)

set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)
set(SSF_MAINTAINER "Quillbay SSF Manager developers <ssf-manager@quillbay.example>")

install(FILES ${desktop_dir}/quillbay-ssf-manager.desktop DESTINATION share/applications)
install(FILES ${desktop_dir}/quillbay-ssf-manager.xml DESTINATION share/mime/packages)
install(FILES ${desktop_dir}/quillbay-ssf-manager.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${desktop_dir}/com.quillbay.ssfmanager.metainfo.xml DESTINATION share/metainfo)

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

# The licence in Debian's machine-readable form and the changelog from the version history.
set(changelog_gz ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_target(changelog ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUT=${changelog_gz}
          -DPACKAGE=quillbay-ssf-manager -DVERSION=${PROJECT_VERSION}
          "-DMAINTAINER=${SSF_MAINTAINER}" -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
  BYPRODUCTS ${changelog_gz}
  VERBATIM
  COMMENT "Writing the changelog from the version history")
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${changelog_gz}
  DESTINATION share/doc/quillbay-ssf-manager)

install(FILES ${CMAKE_SOURCE_DIR}/data/completion/ssftool.bash
  DESTINATION share/bash-completion/completions RENAME ssftool)
