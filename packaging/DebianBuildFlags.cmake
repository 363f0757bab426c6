# The hardening Debian builds its packages with, asked of dpkg-buildflags where there is one, for
# every build: the programs the tests run are then the programs the package ships. Fortified
# functions, stack protection, format checks, and a read-only relocation table bound at start-up
# (BIND_NOW). The build type still chooses optimisation and debugging information, and the
# fortified functions come only where the compiler optimises, as they must.
find_program(ZARNITH_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ZARNITH_DPKG_BUILDFLAGS)
  return()
endif()

function(zarnith_debian_flags variable name)
  # Paths in the flags would make every build folder's objects differ.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
      "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
      ${ZARNITH_DPKG_BUILDFLAGS} --get ${name}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O.?)$")
  set(${variable} ${flags} PARENT_SCOPE)
endfunction()

zarnith_debian_flags(preprocessor_flags CPPFLAGS)
zarnith_debian_flags(compiler_flags CXXFLAGS)
zarnith_debian_flags(linker_flags LDFLAGS)
add_compile_options(${compiler_flags})
foreach(flag IN LISTS preprocessor_flags)
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${flag}>")
endforeach()
add_link_options(${linker_flags})
