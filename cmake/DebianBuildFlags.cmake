# -DSSF_DEBIAN_BUILDFLAGS=ON: compile and link with Debian's hardening flags as a Debian
# package build would (fortified functions, stack protector, PIE, full RELRO with bind-now),
# taken from dpkg-buildflags. Off by default: the fortified functions want optimisation, which
# the Debug and sanitizer builds leave out.
option(SSF_DEBIAN_BUILDFLAGS "Build with the flags of dpkg-buildflags (all hardening)" OFF)
if(SSF_DEBIAN_BUILDFLAGS)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  set(ENV{DEB_BUILD_MAINT_OPTIONS} "hardening=+all")
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE deb_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  # The source folder's own path stays out of the binaries (-ffile-prefix-map=...=.).
  string(APPEND CMAKE_C_FLAGS " ${deb_CPPFLAGS} ${deb_CFLAGS}")
  string(APPEND CMAKE_CXX_FLAGS " ${deb_CPPFLAGS} ${deb_CXXFLAGS}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${deb_LDFLAGS}")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${deb_LDFLAGS}")
endif()
