# 64-bit x86-64 Windows: the same sources with pointer-sized window procedures.
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
