# SPDX-License-Identifier: MIT
# Compiler and linker flags that targets take by linking an interface target,
# so that nothing leaks in through directory-wide options:
#   kestrow_warnings  every target built here;
#   kestrow_hardening the two programs and the libraries they are made of.

add_library(kestrow_warnings INTERFACE)
target_compile_options(kestrow_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(KESTROW_WARNINGS_AS_ERRORS)
  target_compile_options(kestrow_warnings INTERFACE -Werror)
endif()

# Debian's usual hardening, read from dpkg-buildflags as a Debian package build
# would get it: fortified string functions, stack protector, format checks,
# read-only relocations bound at start. The optimisation, debug and file-prefix
# flags it also prints are left to the build type.
add_library(kestrow_hardening INTERFACE)
if(KESTROW_HARDENING)
  find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^(-g|-O.*|-ffile-prefix-map=.*)$")
    set(hardening_${kind} ${flags})
  endforeach()
  target_compile_options(kestrow_hardening INTERFACE ${hardening_CPPFLAGS} ${hardening_CXXFLAGS})
  target_link_options(kestrow_hardening INTERFACE ${hardening_LDFLAGS})
  set(shown ${hardening_CPPFLAGS} ${hardening_CXXFLAGS} ${hardening_LDFLAGS})
  list(JOIN shown " " shown)
  message(STATUS "Hardening: ${shown}")
endif()
