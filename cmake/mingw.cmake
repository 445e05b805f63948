# What the two Windows toolchains share (cmake/mingw-i686.cmake, cmake/mingw-x86_64.cmake):
# Debian's mingw-w64 for ${triple}. Each then names the Wine its tests run under,
# KELMOR_WINE, and what that Wine needs in the tests' environment, KELMOR_WINE_ENV.
set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model, whose C++ runtime has std::thread and std::mutex.
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-posix ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-posix ${triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
