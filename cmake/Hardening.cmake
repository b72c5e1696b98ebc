# SPDX-License-Identifier: Apache-2.0
# The distribution's hardening flags, as dpkg-buildflags gives them with every
# hardening feature on: stack protector, fortified functions, format checks,
# read-only relocations and immediate binding. Optimisation, debug information
# and path mapping stay with the build type, so only the hardening part is
# taken. Sanitizer and fuzz builds leave them out: fortified functions hide
# faults from the sanitizers.
find_program(RM42_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT RM42_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: building without the distribution's hardening flags")
  return()
endif()

function(rm42_hardening_flags kind result)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${RM42_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O|g$|ffile-prefix-map=)")
  set(${result} ${flags} PARENT_SCOPE)
endfunction()

rm42_hardening_flags(CPPFLAGS preprocessor_flags)
rm42_hardening_flags(CXXFLAGS compiler_flags)
rm42_hardening_flags(LDFLAGS linker_flags)
add_compile_options(${preprocessor_flags} ${compiler_flags})
add_link_options(${linker_flags})
string(JOIN " " summary ${preprocessor_flags} ${compiler_flags} ${linker_flags})
message(STATUS "Hardening: ${summary}")
