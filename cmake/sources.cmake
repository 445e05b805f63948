# Every folder the build compiles names its sources in its own sources.cmake, one list per
# library (or per part a program takes); the core_layers test (tests/check_layers.sh)
# fails on a .cpp file no list names. Included by the top CMakeLists.txt, for the Linux and
# the Windows build.

# Sets var to the named files of the folder whose list calls it, as absolute paths.
function(kelmor_sources var)
  set(sources)
  foreach(name ${ARGN})
    list(APPEND sources ${CMAKE_CURRENT_LIST_DIR}/${name})
  endforeach()
  set(${var} ${sources} PARENT_SCOPE)
endfunction()

foreach(folder app recording script settings player ui host service text
        platform/console platform/gtk platform/headless platform/posix platform/wayland platform/win32
        platform/win32gui platform/x11 programs/face programs/kelmor programs/kelmorctl programs/service
        tests/fakes)
  include(${CMAKE_SOURCE_DIR}/${folder}/sources.cmake)
endforeach()
