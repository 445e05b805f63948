# Cross-compiling the same Windows tree for 64-bit Windows (g++-mingw-w64-x86-64), to run
# the tests under 64-bit Wine on machines that cannot run 32-bit programs (scripts/test
# decides); what Kelmor ships is the 32-bit build (cmake/mingw-i686.cmake):
#   cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# 64-bit Wine's own loader: Debian's `wine` is a script that prefers 32-bit Wine when it is
# installed, whether or not it can run, and keeps wine64 out of the PATH. Programs Wine
# starts take the loader from WINELOADER, as that script would set it.
find_program(KELMOR_WINE NAMES wine64 wine PATHS /usr/lib/wine)
set(KELMOR_WINE_ENV WINEARCH=win64 WINELOADER=${KELMOR_WINE})
if(KELMOR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KELMOR_WINE})
endif()
