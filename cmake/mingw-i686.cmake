# 32-bit x86 Windows: the program as it is meant to be. It must start on
# Windows XP SP3 and Server 2003: the POSIX-threads runtime of the -posix
# compilers imports GetTickCount64 (Vista), so the win32 thread model.
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
