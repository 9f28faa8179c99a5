# rc_id_header(<C++ header> <output>): the resource compiler cannot read C++, so
# the `constexpr unsigned kName = N;` lines of an id header are turned into
# `#define kName N` lines for it. The C++ header stays the one place of the numbers.
function(rc_id_header source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(STRINGS ${source} lines REGEX "^[ \t]*constexpr unsigned k[A-Za-z0-9]+ = [0-9]+;")
  if(NOT lines)
    message(FATAL_ERROR "no `constexpr unsigned kName = N;` ids in ${source}")
  endif()
  set(defines "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*constexpr unsigned (k[A-Za-z0-9]+) = ([0-9]+);.*" "#define \\1 \\2" define "${line}")
    string(APPEND defines "${define}\n")
  endforeach()
  get_filename_component(guard ${output} NAME)
  string(MAKE_C_IDENTIFIER "RC_${guard}" guard)
  string(TOUPPER ${guard} guard)
  # Written only when the text changes, so resources are not rebuilt on every configure.
  file(CONFIGURE OUTPUT ${output} CONTENT
       "// Made from ${source} by rc_id_header; edit that file.\n#ifndef ${guard}\n#define ${guard}\n${defines}#endif\n"
       @ONLY)
endfunction()
