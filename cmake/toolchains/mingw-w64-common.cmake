# What both mingw-w64 toolchains share; TARVA_MINGW_TRIPLE names the target.

# The posix thread model's compilers: GCC 12's win32 model has no std::mutex, which
# GoogleTest needs on Windows. Their winpthread runtime is linked in statically below.
find_program(TARVA_MINGW_CC NAMES ${TARVA_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(TARVA_MINGW_CXX NAMES ${TARVA_MINGW_TRIPLE}-g++-posix REQUIRED)
set(CMAKE_C_COMPILER ${TARVA_MINGW_CC})
set(CMAKE_CXX_COMPILER ${TARVA_MINGW_CXX})
set(CMAKE_RC_COMPILER ${TARVA_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${TARVA_MINGW_TRIPLE}-objdump)
set(CMAKE_STRIP ${TARVA_MINGW_TRIPLE}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's runtime goes into each binary: nothing but system DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
