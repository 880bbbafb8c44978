# What the MinGW-w64 cross-builds share; mingw-w64-<arch>.cmake sets
# CMAKE_SYSTEM_PROCESSOR and LUMIVAR_MINGW_PREFIX, then includes this.
set(CMAKE_SYSTEM_NAME Windows)

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
