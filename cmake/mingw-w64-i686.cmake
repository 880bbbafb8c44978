# Cross-build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686):
# the program we ship. A 32-bit program without a requested execution level
# gets its writes to a protected folder redirected to the user's
# VirtualStore, so Setup.ini keeps working wherever the program is put; a
# 64-bit one would just fail there.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LUMIVAR_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
