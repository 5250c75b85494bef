# -DTACKNOTE_DEBIAN_FLAGS=ON builds with Debian's build flags, as dpkg-buildflags gives
# them with every hardening feature on: stack protector, fortified C library functions,
# format string checks, relocations made read-only and bound at start. The package is
# built so (README, scripts/check-package.sh); the test builds need not be.
option(TACKNOTE_DEBIAN_FLAGS "Build with Debian's hardening flags (dpkg-buildflags)" OFF)
if(TACKNOTE_DEBIAN_FLAGS)
  find_program(TACKNOTE_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${TACKNOTE_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE debian_${kind}
      OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  string(APPEND CMAKE_CXX_FLAGS " ${debian_CPPFLAGS} ${debian_CXXFLAGS}")
  string(APPEND CMAKE_EXE_LINKER_FLAGS " ${debian_LDFLAGS}")
  message(STATUS "Debian build flags: ${debian_CPPFLAGS} ${debian_CXXFLAGS} ${debian_LDFLAGS}")
endif()
