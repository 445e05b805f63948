# Cross-compiling for 32-bit Windows with Debian's mingw-w64 (g++-mingw-w64-i686), the
# build Kelmor ships:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The tests run under 32-bit Wine, in a 32-bit prefix even where 64-bit Wine is installed too.
find_program(KELMOR_WINE wine)
set(KELMOR_WINE_ENV WINEARCH=win32)
if(KELMOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KELMOR_WINE})
endif()
