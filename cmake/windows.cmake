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

# Back ends: one library per seam, chosen at link time, as on Linux.
file(GLOB KELMOR_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
set(KELMOR_WIN32_LIBS)
foreach(source ${KELMOR_WIN32_SOURCES})
  get_filename_component(seam ${source} NAME_WE)
  add_library(kelmor_win32_${seam} STATIC ${source})
  list(APPEND KELMOR_WIN32_LIBS kelmor_win32_${seam})
endforeach()
if(TARGET kelmor_win32_registry)
  target_link_libraries(kelmor_win32_registry PUBLIC advapi32)
endif()

# The face: the main window and the dialogs built from the descriptions of ui/, the boxes
# and the pictures, linked into Kelmor.exe.
file(GLOB KELMOR_WIN32GUI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32gui/*.cpp)
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
file(GLOB service_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/service/*.cpp)
add_library(kelmor_service_dll SHARED ${service_sources} ${CMAKE_SOURCE_DIR}/programs/service/dll_main.cpp
            ${CMAKE_SOURCE_DIR}/programs/service/dll_system.cpp ${CMAKE_BINARY_DIR}/KelmorService.def)
set_target_properties(kelmor_service_dll PROPERTIES OUTPUT_NAME KelmorService PREFIX "" SUFFIX ".DLL"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_options(kelmor_service_dll PRIVATE -O2)
add_custom_command(TARGET kelmor_service_dll POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:kelmor_service_dll> -DOBJDUMP=${CMAKE_OBJDUMP}
          "-DNAMES=KelmorKeyboardProc;ReloadServiceCache" -P ${CMAKE_SOURCE_DIR}/programs/service/check_exports.cmake
  VERBATIM)
target_link_libraries(kelmor_service_dll PRIVATE
  "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_win32_registry,kelmor_win32_file,kelmor_win32_system,kelmor_win32_process,kelmor_win32_shared_memory,kelmor_win32_key_typing,kelmor_win32_character_input>")

# The shell without a main window (its loop here is platform/win32/loop.cpp, not GLib's) and
# message boxes on standard error, for kelmorctl.exe.
add_library(kelmor_console_boxes STATIC ${CMAKE_SOURCE_DIR}/platform/console/message_box.cpp)
file(GLOB KELMOR_HEADLESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/headless/*.cpp)
list(REMOVE_ITEM KELMOR_HEADLESS_SOURCES ${CMAKE_SOURCE_DIR}/platform/headless/loop.cpp)
add_library(kelmor_headless_shell STATIC ${KELMOR_HEADLESS_SOURCES})

# kelmorctl.exe: the same sources as kelmorctl on Linux, a console program beside Kelmor.exe,
# which its exe command copies.
file(GLOB KELMORCTL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/programs/kelmorctl/*.cpp)
# It shares Kelmor.exe's manifest (programs/kelmor-win), which makes its texts UTF-8.
add_executable(kelmorctl_exe ${KELMORCTL_SOURCES} ${CMAKE_SOURCE_DIR}/programs/kelmor-win/manifest.rc)
set_target_properties(kelmorctl_exe PROPERTIES OUTPUT_NAME kelmorctl RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(kelmorctl_exe PRIVATE
  "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_headless_shell,kelmor_console_boxes,${KELMOR_WIN32_LIBS}>")

# Fakes of every seam; the unit tests use real files and the real system seam.
file(GLOB KELMOR_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_library(kelmor_fakes STATIC ${KELMOR_FAKE_SOURCES})
set(KELMOR_FAKED_CORE "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_fakes,kelmor_win32_file,kelmor_win32_system>")

# The help pages beside the programs, as on Linux.
add_subdirectory(docs/help)

# Kelmor.exe, playing recordings hidden from its command line.
if(TARGET kelmor_win32_journal_playback)
  target_link_libraries(kelmor_win32_journal_playback PUBLIC winmm)
endif()
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