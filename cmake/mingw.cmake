# Cross toolchain for MinGW-w64 with the win32 thread model, which keeps the
# program free of winpthread and so able to start on Windows XP.
#   PW_ARCH: i686 (the product) or x86_64 (for running the tests under a
#   64-bit-only Wine; the same sources).
set(PW_ARCH "i686" CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PW_ARCH})
set(_triple ${PW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-win32)
set(CMAKE_CXX_COMPILER ${_triple}-g++-win32)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_OBJDUMP ${_triple}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
