# The version of Velmora's installer, from the project's version.

# Windows Installer compares only the first three fields of a product's version,
# each at most 255.255.65535. Velmora's versions differ in the fourth field
# (1.0.0.2 shows as 1.00.0002) and leave the third at 0, so the installer's
# version is major.minor.fourth: 1.0.0.2 installs as 1.0.2.
function(velmora_msi_version out version)
    string(REPLACE "." ";" fields "${version}")
    list(LENGTH fields count)
    if(NOT count EQUAL 4)
        message(FATAL_ERROR "The project's version ${version} has not four fields")
    endif()
    list(GET fields 0 major)
    list(GET fields 1 minor)
    list(GET fields 2 patch)
    list(GET fields 3 tweak)
    if(NOT patch EQUAL 0 OR major GREATER 255 OR minor GREATER 255 OR tweak GREATER 65535)
        message(FATAL_ERROR "The project's version ${version} cannot be an installer's version: "
                            "its third field must be 0, the first two at most 255 and the fourth at most 65535")
    endif()
    set(${out} "${major}.${minor}.${tweak}" PARENT_SCOPE)
endfunction()
velmora_msi_version(VELMORA_MSI_VERSION "${PROJECT_VERSION}")

# The release after this one, which the upgrade test installs over it.
math(EXPR _next_tweak "${PROJECT_VERSION_TWEAK} + 1")
velmora_msi_version(VELMORA_NEXT_MSI_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${_next_tweak}")
velmora_zero_pad(_next_tweak "${_next_tweak}" 4)
set(VELMORA_NEXT_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${_minor}.${_next_tweak}")
