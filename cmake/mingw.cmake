# mingw-w64 cross build (posix thread model). Set OX_ARCH to i686 or x86_64 before including, or
# use the two toolchain files beside this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${OX_ARCH})
set(triple ${OX_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests of the 64-bit build run under wine64 (there is no 32-bit Wine here).
if(OX_ARCH STREQUAL "x86_64")
  find_program(OX_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib/wine64 NO_CMAKE_FIND_ROOT_PATH)
  if(OX_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${OX_WINE64})
  endif()
endif()
