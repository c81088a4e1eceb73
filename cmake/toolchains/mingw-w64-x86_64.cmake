# A native Windows build (x86-64) from Linux with MinGW-w64, the POSIX-thread
# variant of Debian's g++-mingw-w64-x86-64-posix. The programs are linked
# statically: scenariogen.exe needs no DLL beside it. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and the build's own test discovery start the Windows programs under Wine.
find_program(SCENARIOGEN_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(SCENARIOGEN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${SCENARIOGEN_WINE}")
endif()
