# cmake -DSOURCE_DIR=... -DOUT=.../changelog.gz -DPACKAGE=... -DVERSION=... -DMAINTAINER=...
#       -P DebianChangelog.cmake
# The package's changelog in Debian's form, made from the version history: one entry for
# this version listing the commits, newest first. Dated by SOURCE_DATE_EPOCH, else by the
# last commit, so that the same sources give the same file. Without a git checkout (a
# source archive) the entry names only the version.
find_program(GIT git)
set(subjects "")
set(date "")
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" log --no-merges --format=%s
    OUTPUT_VARIABLE subjects RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    set(subjects "")
  endif()
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE last_commit OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(last_commit)
  set(epoch "${last_commit}")
else()
  set(epoch 0)
endif()
execute_process(COMMAND date -u -R -d "@${epoch}" OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE)
if(subjects STREQUAL "")
  set(subjects "Release ${VERSION}.")
endif()

# "  * subject", wrapped at 78 columns with the continuation under the text.
# Semicolons would split the list; they come back when the text is written.
string(REPLACE ";" "<semicolon>" subjects "${subjects}")
string(REPLACE "\n" ";" subjects "${subjects}")
set(body "")
foreach(subject IN LISTS subjects)
  string(REPLACE " " ";" words "${subject}")
  set(line "  *")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" len)
    if(len GREATER 78 AND NOT line STREQUAL "  *" AND NOT line STREQUAL "   ")
      string(APPEND body "${line}\n")
      set(line "   ")
    endif()
    string(APPEND line " ${word}")
  endforeach()
  string(APPEND body "${line}\n")
endforeach()

string(REPLACE "<semicolon>" ";" body "${body}")
get_filename_component(out_dir "${OUT}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
string(REGEX REPLACE "\\.gz$" "" plain "${OUT}")
file(WRITE "${plain}" "${PACKAGE} (${VERSION}) unstable; urgency=medium\n\n${body}\n -- ${MAINTAINER}  ${date}\n")
execute_process(COMMAND gzip -9nf "${plain}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${plain}")
endif()
