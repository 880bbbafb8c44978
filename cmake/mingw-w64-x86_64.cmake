# Cross-build for 64-bit Windows (g++-mingw-w64-x86-64-posix): the same
# sources, for running the Windows tests on machines that run no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMIVAR_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
