# Cross-build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686).
# A 32-bit program without a requested execution level gets its writes to a
# protected folder redirected to the user's VirtualStore, so Setup.ini keeps
# working wherever the program is put; a 64-bit one would just fail there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(LUMIVAR_MINGW_PREFIX i686-w64-mingw32)
# The -posix variants carry std::thread and std::mutex; the -win32 ones of
# GCC 12 do not.
set(CMAKE_C_COMPILER ${LUMIVAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMIVAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMIVAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMIVAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One portable program: the C++ runtime and winpthread linked in, no DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
