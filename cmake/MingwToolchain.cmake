# Cross-compiles for Windows with mingw-w64 for LUMRA_MINGW_ARCH (i686 or
# x86_64), set by the toolchain file that includes this one. The posix thread
# flavour is used because GoogleTest needs std::mutex, which the win32 flavour
# lacks; with -static the winpthread runtime is linked in, so nothing beyond
# system DLLs is imported.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${LUMRA_MINGW_ARCH})
set(CMAKE_C_COMPILER ${LUMRA_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMRA_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${LUMRA_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUMRA_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
