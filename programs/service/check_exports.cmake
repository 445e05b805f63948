# Fails the build when the freshly linked DLL does not export exactly the names NAMES: the
# system and Kelmor.exe find the keyboard service's entries by their plain names, whatever
# the symbols the compiler gave them. On failure DLL is removed.
# Run with cmake -DDLL=... -DOBJDUMP=... "-DNAMES=a;b" -P check_exports.cmake
cmake_minimum_required(VERSION 3.24)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
set(exported)
if(status EQUAL 0 AND dump MATCHES "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[ 0-9]+\\] [^\n]+\n)*)")
  # One "[ ordinal] name" line each; brackets would split a CMake list oddly.
  string(REGEX REPLACE "[ \t]+\\[[ 0-9]+\\] ([^\n]+)\n" "\\1;" exported "${CMAKE_MATCH_1}")
endif()
list(REMOVE_ITEM exported "")
list(SORT exported)
set(expected ${NAMES})
list(SORT expected)
if(NOT exported STREQUAL expected)
  file(REMOVE ${DLL})
  message(FATAL_ERROR "${DLL} exports '${exported}', not '${expected}' (programs/service/KelmorService.def.in)")
endif()
