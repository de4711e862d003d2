# 32-bit Windows build with MinGW-w64 (posix threads). Built in CI, not run: the test machines cannot execute it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRELM_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
