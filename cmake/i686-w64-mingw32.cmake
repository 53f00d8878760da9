# Cross-compiles for Windows with mingw-w64. The posix thread flavour is used
# because GoogleTest needs std::mutex, which the win32 flavour lacks; with
# -static the winpthread runtime is linked in, so nothing beyond system DLLs
# is imported.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Single-precision results must match the other builds bit for bit (a seed
# gives the same particles everywhere); x87 arithmetic keeps extra precision,
# so compute floats in SSE registers. Every CPU that runs current Windows has SSE2.
# Windows calls back into 32-bit code with a stack aligned to 4 bytes only, so
# functions realign it before any aligned SSE access.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
