# Cross-builds the 32-bit Windows plug-in with Debian's mingw-w64.
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARVA_MINGW_TRIPLE i686-w64-mingw32)

# SSE2 arithmetic instead of the x87 unit, so that every float is rounded to single
# precision as on x86_64. Hosts keep the stack only 4-byte aligned on 32-bit Windows; GCC
# for this target realigns it itself where SSE data needs more (-mstackrealign changes
# no instruction), so no flag is needed for that.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
