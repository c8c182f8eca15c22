# Runs this build's Windows programs under wine: CTest starts every test program
# through build-folder/wine-run, which keeps a wine prefix of its own in the build folder.
find_program(TARVA_WINE wine)
if(NOT TARVA_WINE)
    message(STATUS "wine not found: the Windows programs build, but no test can run")
endif()

# Debian's wine script starts the 32-bit loader whenever wine32 is installed, even for a
# 64-bit program, and on a kernel without 32-bit support that loader cannot start at all:
# the 64-bit build names the 64-bit loader itself.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(TARVA_WINE_LOADER wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
endif()
if(NOT TARVA_WINE_LOADER)
    set(TARVA_WINE_LOADER wine)
endif()

set(TARVA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE
    @ONLY)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
