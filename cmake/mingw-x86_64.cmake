# 64-bit Windows: for running the tests where the kernel runs no 32-bit programs.
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
