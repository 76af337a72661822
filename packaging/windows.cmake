# Velmora for Windows users to download: a portable zip and a per-user installer,
# both written by the package target into the build folder:
#   Velmora-<version>-win64.zip   Velmora.exe, LICENSE.txt and README.txt
#   Velmora-<version>-win64.msi   built with msitools' wixl from velmora.wxs

include(msiversion.cmake)

find_program(VELMORA_WIXL wixl)
if(NOT VELMORA_WIXL)
    message(FATAL_ERROR "Packaging Velmora for Windows needs wixl (Debian package wixl). "
                        "scripts/test installs it.")
endif()

# The files as they ship, text with Windows line ends.
set(_files "${CMAKE_CURRENT_BINARY_DIR}/windows")
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${_files}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file(readme-windows.txt.in "${_files}/README.txt" @ONLY NEWLINE_STYLE CRLF)
add_custom_command(OUTPUT "${_files}/Velmora.exe" "${_files}/velmora.ico"
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmora> "${_files}/Velmora.exe"
    COMMAND ${CMAKE_COMMAND} -E copy "${VELMORA_ICON_ICO}" "${_files}/velmora.ico"
    DEPENDS velmora ${VELMORA_ICONS_TARGET} "${VELMORA_ICON_ICO}"
    VERBATIM)

set(VELMORA_WINDOWS_PACKAGE "${PROJECT_NAME}-${VELMORA_DISPLAY_VERSION}-win64")
set(_zip "${PROJECT_BINARY_DIR}/${VELMORA_WINDOWS_PACKAGE}.zip")
add_custom_command(OUTPUT "${_zip}"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${_zip}"
    COMMAND ${CMAKE_COMMAND} -E tar cf "${_zip}" --format=zip Velmora.exe LICENSE.txt README.txt
    WORKING_DIRECTORY "${_files}"
    DEPENDS "${_files}/Velmora.exe" "${_files}/LICENSE.txt" "${_files}/README.txt"
    COMMENT "Packing ${VELMORA_WINDOWS_PACKAGE}.zip"
    VERBATIM)

# Writes an installer of the files for the given installer version.
function(velmora_add_msi output product_version display_version)
    add_custom_command(OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND}
            -DWIXL=${VELMORA_WIXL}
            -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/velmora.wxs
            -DFILES=${_files}
            -DOUTPUT=${output}
            -DPRODUCT_VERSION=${product_version}
            -DDISPLAY_VERSION=${display_version}
            -DMANUFACTURER=${VELMORA_COMPANY}
            -DWEBSITE=${VELMORA_AUTHOR_WEBSITE}
            -DDESCRIPTION=${PROJECT_DESCRIPTION}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/msi.cmake
        DEPENDS velmora.wxs msi.cmake "${_files}/Velmora.exe" "${_files}/velmora.ico" "${_files}/LICENSE.txt"
        COMMENT "Building the installer ${output}"
        VERBATIM)
endfunction()
set(_msi "${PROJECT_BINARY_DIR}/${VELMORA_WINDOWS_PACKAGE}.msi")
velmora_add_msi("${_msi}" "${VELMORA_MSI_VERSION}" "${VELMORA_DISPLAY_VERSION}")
# CMake keeps the name for CPack while an earlier configuration's files are there.
file(REMOVE "${PROJECT_BINARY_DIR}/CPackConfig.cmake" "${PROJECT_BINARY_DIR}/CPackSourceConfig.cmake")
add_custom_target(package DEPENDS "${_zip}" "${_msi}")

if(BUILD_TESTING)
    # The same installer one release later, for the upgrade test.
    velmora_add_msi("${CMAKE_CURRENT_BINARY_DIR}/tests/Velmora-next-win64.msi" "${VELMORA_NEXT_MSI_VERSION}"
        "${VELMORA_NEXT_DISPLAY_VERSION}")
    add_custom_target(velmora_next_msi ALL DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/tests/Velmora-next-win64.msi")
endif()
