# Helpers that give every binary of the suite the same build rules:
# warnings as errors, static runtime, a version resource, and a fixed output folder.

function(_suite_version_resource target file_name file_type description)
  set(SUITE_TARGET ${target})
  set(SUITE_FILE_NAME ${file_name})
  set(SUITE_FILE_TYPE ${file_type})
  set(SUITE_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# Address-space layout randomisation and no executable data, with a 64-bit
# address space where the architecture has one: the launcher runs elevated.
set(SUITE_HARDENING -Wl,--dynamicbase,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND SUITE_HARDENING -Wl,--high-entropy-va)
endif()

function(_suite_common target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${SUITE_WARNINGS}>)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ ${SUITE_HARDENING})
endfunction()

# suite_program(<target> DIR <out dir> DESCRIPTION <text> [CONSOLE] SOURCES ...)
function(suite_program target)
  cmake_parse_arguments(P "CONSOLE" "DIR;DESCRIPTION" "SOURCES" ${ARGN})
  if(P_CONSOLE)
    add_executable(${target} ${P_SOURCES})
  else()
    add_executable(${target} WIN32 ${P_SOURCES})
  endif()
  _suite_common(${target})
  target_link_options(${target} PRIVATE -municode)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${P_DIR})
  _suite_version_resource(${target} ${target}.exe VFT_APP "${P_DESCRIPTION}")
endfunction()

# suite_library(<target> DIR <out dir> DESCRIPTION <text> SOURCES ...)
function(suite_library target)
  cmake_parse_arguments(P "" "DIR;DESCRIPTION" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${P_SOURCES})
  _suite_common(${target})
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${P_DIR})
  _suite_version_resource(${target} ${target}.dll VFT_DLL "${P_DESCRIPTION}")
endfunction()

# suite_resource_library(<target> NAME <dll name> DIR <out dir> RC <file.rc> [DEPENDS files])
# A library of resources only: no code; entry address 0 is how a PE library
# says it has no code to run.
function(suite_resource_library target)
  cmake_parse_arguments(P "" "NAME;DIR;RC" "DEPENDS" ${ARGN})
  add_library(${target} SHARED ${P_RC})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${P_NAME}
                        RUNTIME_OUTPUT_DIRECTORY ${P_DIR} LINKER_LANGUAGE C)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=0 -s ${SUITE_HARDENING})
  if(P_DEPENDS)
    set_source_files_properties(${P_RC} PROPERTIES OBJECT_DEPENDS "${P_DEPENDS}")
  endif()
  _suite_version_resource(${target} ${P_NAME}.dll VFT_DLL "Resources")
endfunction()

# suite_stage_file(<target> <source> <destination>) copies a data file into a staged folder.
function(suite_stage_files target dest_dir)
  set(outputs)
  foreach(src ${ARGN})
    get_filename_component(name ${src} NAME)
    add_custom_command(OUTPUT ${dest_dir}/${name}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dest_dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${dest_dir}/${name}
      DEPENDS ${src} VERBATIM)
    list(APPEND outputs ${dest_dir}/${name})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
