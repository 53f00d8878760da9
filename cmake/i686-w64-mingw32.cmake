# 32-bit Windows: the product.
set(LUMRA_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

# Single-precision results must match the other builds bit for bit (a seed
# gives the same particles everywhere); x87 arithmetic keeps extra precision,
# so compute floats in SSE registers. Every CPU that runs current Windows has SSE2.
# Windows calls back into 32-bit code with a stack aligned to 4 bytes only, so
# functions realign it before any aligned SSE access.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
