# Debian's hardening flags (dpkg-buildflags with hardening=+all) for the
# programs as released: fortified libc calls, a strong stack protector, format
# checks, and relocations made read-only at start (relro, bindnow). The build
# type keeps its own optimisation and debug flags; sanitizer and fuzz builds
# are left alone, since they instrument the same calls their own way.
function(varnel_harden)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?|ffile-prefix-map=.*)$")
    set(${kind} ${flags})
  endforeach()
  add_compile_options(${CPPFLAGS} ${CXXFLAGS})
  add_link_options(${LDFLAGS})
  message(STATUS "Hardened with: ${CPPFLAGS} ${CXXFLAGS} ${LDFLAGS}")
endfunction()
