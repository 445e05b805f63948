# What the programs kelmor (programs/kelmor) and Kelmor.exe (programs/kelmor-win) are made
# of the same way.

# The size the program file is padded to: EMBEDDED_RECORDING_OFFSET, read from the header
# the loader uses, so the two cannot drift apart.
function(kelmor_program_size out_var)
  file(STRINGS ${CMAKE_SOURCE_DIR}/recording/recording_file.h offset_define
       REGEX "^#define[ \t]+EMBEDDED_RECORDING_OFFSET[ \t]+[0-9]+")
  string(REGEX REPLACE ".*EMBEDDED_RECORDING_OFFSET[ \t]+([0-9]+).*" "\\1" size "${offset_define}")
  if(NOT size MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No '#define EMBEDDED_RECORDING_OFFSET <bytes>' in recording/recording_file.h")
  endif()
  set(${out_var} ${size} PARENT_SCOPE)
endfunction()

# The sources of libraries, as absolute paths, for a program that compiles them once more
# with its own options.
function(kelmor_sources_of out_var)
  set(sources)
  foreach(library ${ARGN})
    get_target_property(library_sources ${library} SOURCES)
    get_target_property(library_dir ${library} SOURCE_DIR)
    foreach(source ${library_sources})
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${library_dir})
      list(APPEND sources ${source})
    endforeach()
  endforeach()
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
