# `cmake --build <folder> --target release` packs this build's plug-in, stripped, with the
# README (with its screenshot), the user manual it links (with its pictures) and the license: TARVA-<version>-win64.zip, -win32.zip or
# -linux-x86_64.tar.gz, in <folder>/release/.
if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(platform win64)
    else()
        set(platform win32)
    endif()
    set(archiveType zip)
    set(tarFlags cf)
    set(tarFormat --format=zip)
else()
    string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" platform)
    set(archiveType tar.gz)
    set(tarFlags czf)
    set(tarFormat --format=gnutar)
endif()

set(releaseName ${PROJECT_NAME}-${PROJECT_VERSION}-${platform})
set(releaseDir ${CMAKE_BINARY_DIR}/release)
set(releaseArchive ${releaseDir}/${releaseName}.${archiveType})
set(releaseFiles ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE)
# docs/: the README's screenshot and the manual it links, with every picture the manual shows.
set(releaseDocs ${CMAKE_SOURCE_DIR}/docs/manual.md)
file(GLOB releasePictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png)
file(GLOB releaseProgramPlots CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/programs/*.png)

add_custom_command(OUTPUT ${releaseArchive}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${releaseName} ${releaseArchive}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${releaseName}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:TARVA> ${releaseFiles} ${releaseName}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${releaseName}/docs/programs
    COMMAND ${CMAKE_COMMAND} -E copy ${releaseDocs} ${releasePictures} ${releaseName}/docs
    COMMAND ${CMAKE_COMMAND} -E copy ${releaseProgramPlots} ${releaseName}/docs/programs
    COMMAND ${CMAKE_STRIP} --strip-all ${releaseName}/$<TARGET_FILE_NAME:TARVA>
    COMMAND ${CMAKE_COMMAND} -E tar ${tarFlags} ${releaseArchive} ${tarFormat} -- ${releaseName}
    WORKING_DIRECTORY ${releaseDir}
    DEPENDS TARVA ${releaseFiles} ${releaseDocs} ${releasePictures} ${releaseProgramPlots}
    COMMENT "Packing ${releaseName}.${archiveType}"
    VERBATIM)
add_custom_target(release DEPENDS ${releaseArchive})
