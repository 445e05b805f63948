# The Windows build (i686, mingw-w64; see cmake/mingw-i686.cmake): the core with the
# platform/win32 back ends and the unit tests, which run under Wine. The same tree builds
# for x86_64 (cmake/mingw-x86_64.cmake) to run the tests where 32-bit Wine cannot run.

# Kelmor.exe is padded to the offset of an executable recording's recording: the header's
# EMBEDDED_RECORDING_OFFSET, the budget of the shipped 32-bit program. A 64-bit build, made
# to run the tests, has code of another size: it pads to a size of its own with room to
# spare, which all its code is compiled with, so its executable recordings work among
# themselves and the 32-bit budget stays the 32-bit program's.
include(${CMAKE_SOURCE_DIR}/cmake/program_sources.cmake)
kelmor_program_size(KELMOR_PROGRAM_SIZE)
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KELMOR_WIN64_PROGRAM_SIZE 262144 CACHE STRING "Kelmor.exe's padded size in a 64-bit build")
  set(KELMOR_PROGRAM_SIZE ${KELMOR_WIN64_PROGRAM_SIZE})
  add_compile_definitions(EMBEDDED_RECORDING_OFFSET=${KELMOR_PROGRAM_SIZE})
endif()

# The programs run on a system with nothing installed: the compiler's runtime, the C++
# library and the thread library are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

# Each binary's version resource (programs/kelmor-win/version.rc.in): its name, what it
# is and the project's version. Sets out to the generated resource file.
function(kelmor_version_resource out name type description)
  set(KELMOR_FILE_NAME ${name})
  set(KELMOR_FILE_TYPE ${type})
  set(KELMOR_FILE_DESCRIPTION ${description})
  configure_file(${CMAKE_SOURCE_DIR}/programs/kelmor-win/version.rc.in ${CMAKE_BINARY_DIR}/generated/version-${name}.rc
                 @ONLY)
  set(${out} ${CMAKE_BINARY_DIR}/generated/version-${name}.rc PARENT_SCOPE)
endfunction()

# Release builds ship their binaries stripped, as Kelmor.exe is (pad_program.cmake); the
# linked file stays beside it as NAME-unstripped for a debugger.
function(kelmor_strip_release target)
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>-unstripped
      COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
endfunction()

# Back ends: one library per seam, chosen at link time, as on Linux.
set(KELMOR_WIN32_LIBS)
foreach(source ${KELMOR_WIN32_SOURCES})
  get_filename_component(seam ${source} NAME_WE)
  add_library(kelmor_win32_${seam} STATIC ${source})
  list(APPEND KELMOR_WIN32_LIBS kelmor_win32_${seam})
endforeach()
# The system's message boxes, for the programs without the face.
add_library(kelmor_win32_shell_message_box STATIC ${KELMOR_WIN32_SHELL_BOX_SOURCES})
target_link_libraries(kelmor_win32_registry PUBLIC advapi32)
target_link_libraries(kelmor_win32_journal_playback PUBLIC winmm)

# The face: the main window and the dialogs built from the descriptions of ui/, the boxes
# and the pictures, linked into Kelmor.exe.
add_library(kelmor_win32gui STATIC ${KELMOR_WIN32GUI_SOURCES})
target_link_libraries(kelmor_win32gui PUBLIC kelmor_win32_message_box comctl32 comdlg32 shell32 gdi32 user32 uxtheme)
# The pictures are resources: a static library's would be left out of the program, so each
# program that links the face compiles them into itself.
enable_language(RC)
target_sources(kelmor_win32gui INTERFACE ${CMAKE_SOURCE_DIR}/platform/win32gui/pictures.rc)

# KelmorService.DLL: the service's code with the system's part linked in, since the system
# loads it into other processes where nothing of Kelmor.exe is at hand. The .def file makes
# its two entries the only exports.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KEYBOARD_ENTRY_DECORATION "@12")
else()
  set(KEYBOARD_ENTRY_DECORATION "")
endif()
configure_file(${CMAKE_SOURCE_DIR}/programs/service/KelmorService.def.in ${CMAKE_BINARY_DIR}/KelmorService.def @ONLY)
kelmor_version_resource(service_version KelmorService.DLL VFT_DLL "Kelmor Keyboard Service")
add_library(kelmor_service_dll SHARED ${KELMOR_SERVICE_SOURCES} ${KELMOR_SERVICE_DLL_SOURCES}
            ${CMAKE_BINARY_DIR}/KelmorService.def ${service_version})
set_target_properties(kelmor_service_dll PROPERTIES OUTPUT_NAME KelmorService PREFIX "" SUFFIX ".DLL"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_options(kelmor_service_dll PRIVATE -O2)
add_custom_command(TARGET kelmor_service_dll POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:kelmor_service_dll> -DOBJDUMP=${CMAKE_OBJDUMP}
          "-DNAMES=KelmorKeyboardProc;ReloadServiceCache" -P ${CMAKE_SOURCE_DIR}/programs/service/check_exports.cmake
  VERBATIM)
kelmor_strip_release(kelmor_service_dll)
target_link_libraries(kelmor_service_dll PRIVATE
  "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_win32_registry,kelmor_win32_file,kelmor_win32_system,kelmor_win32_process,kelmor_win32_shared_memory,kelmor_win32_key_typing,kelmor_win32_character_input>")

# The shell without a main window (its loop here is platform/win32/loop.cpp, not GLib's) and
# message boxes on standard error, for kelmorctl.exe.
add_library(kelmor_console_boxes STATIC ${KELMOR_CONSOLE_BOX_SOURCES})
add_library(kelmor_headless_hand_over STATIC ${KELMOR_HEADLESS_HAND_OVER_SOURCES})
add_library(kelmor_headless_shell STATIC ${KELMOR_HEADLESS_SHELL_SOURCES})

# kelmorctl.exe: the same sources as kelmorctl on Linux, a console program beside Kelmor.exe,
# which its exe command copies.
# It shares Kelmor.exe's manifest (programs/kelmor-win), which makes its texts UTF-8.
kelmor_version_resource(kelmorctl_version kelmorctl.exe VFT_APP "Kelmor command line")
add_executable(kelmorctl_exe ${KELMORCTL_SOURCES} ${CMAKE_SOURCE_DIR}/programs/kelmor-win/manifest.rc
               ${kelmorctl_version})
set_target_properties(kelmorctl_exe PROPERTIES OUTPUT_NAME kelmorctl RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
kelmor_strip_release(kelmorctl_exe)
target_link_libraries(kelmorctl_exe PRIVATE
  "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_headless_shell,kelmor_headless_hand_over,kelmor_console_boxes,\
${KELMOR_WIN32_LIBS},kelmor_win32_shell_message_box>")

# Fakes of every seam; the unit tests use real files and the real system seam.
add_library(kelmor_fakes STATIC ${KELMOR_FAKE_SOURCES})
set(KELMOR_FAKED_CORE
    "$<LINK_GROUP:RESCAN,kelmor_service_code,kelmor_core,kelmor_fakes,kelmor_win32_file,kelmor_win32_system>")

# The help pages beside the programs, as on Linux.
add_subdirectory(docs/help)

# Kelmor.exe, playing recordings hidden from its command line.
add_subdirectory(programs/kelmor-win)

if(KELMOR_TESTS)
  # Debian packages GoogleTest for mingw only as sources: built here with the cross compiler.
  set(KELMOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KELMOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  enable_testing()
  add_subdirectory(tests)
endif()