# Cross toolchain: mingw-w64 (posix thread model) for Windows.
# VARNOX_ARCH picks the target: i686 (the shipped 32-bit program, default) or x86_64
# (used where the build machine cannot run 32-bit code under Wine).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DEFINED VARNOX_ARCH)
  set(VARNOX_ARCH i686)
endif()
set(VARNOX_ARCH "${VARNOX_ARCH}" CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_PROCESSOR ${VARNOX_ARCH})
set(_triple ${VARNOX_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
