# Runs `cmake --install` into PREFIX and checks the installed layout.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/ssftool
  share/applications/quillbay-ssf-manager.desktop
  share/mime/packages/quillbay-ssf-manager.xml
  share/icons/hicolor/scalable/apps/quillbay-ssf-manager.svg
  share/metainfo/com.quillbay.ssfmanager.metainfo.xml
  share/man/man1/ssftool.1.gz
  share/man/man1/ssf-manager.1.gz
  share/bash-completion/completions/ssftool
  share/doc/quillbay-ssf-manager/copyright
  share/doc/quillbay-ssf-manager/changelog.gz
  share/quillbay-ssf-manager/ThemeMaps)
if(EXISTS ${BUILD_DIR}/bin/ssf-manager)
  list(APPEND expected bin/ssf-manager)
endif()
file(GLOB maps RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/ThemeMaps/*.rxt ${SOURCE_DIR}/ThemeMaps/*.screens)
foreach(map IN LISTS maps)
  list(APPEND expected share/quillbay-ssf-manager/${map})
endforeach()
foreach(f IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${PREFIX}/${f}")
  endif()
endforeach()

# The installed program runs from the prefix.
execute_process(COMMAND ${PREFIX}/bin/ssftool --help RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed ssftool --help failed: ${rc}")
endif()

# The desktop's own tools accept what we install (scripts/install-deps.sh brings them);
# validate-tree also finds the desktop entry that the AppStream data names.
find_program(VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT VALIDATE OR NOT APPSTREAMCLI)
  message(FATAL_ERROR "desktop-file-validate or appstreamcli is missing: run scripts/install-deps.sh")
endif()
execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/quillbay-ssf-manager.desktop
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net --strict ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate-tree: ${out}")
endif()
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} ${PREFIX}/share/mime RESULT_VARIABLE rc ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/share/mime/application/x-quillbay-theme.xml)
    message(FATAL_ERROR "update-mime-database refused the MIME type: ${out}")
  endif()
endif()
message(STATUS "installed layout is complete under ${PREFIX}")
