# Builds Velmora's installer with wixl: cmake -D... -P msi.cmake
#   WIXL         the wixl program
#   SOURCE       velmora.wxs
#   FILES        the folder holding Velmora.exe, LICENSE.txt and velmora.ico
#   OUTPUT       the .msi to write
#   PRODUCT_VERSION, DISPLAY_VERSION, MANUFACTURER, WEBSITE, DESCRIPTION
# wixl takes the files' sources relative to the folder it runs in. Each version
# gets a product code of its own, the same on every build of that version.
foreach(variable IN ITEMS WIXL SOURCE FILES OUTPUT PRODUCT_VERSION DISPLAY_VERSION MANUFACTURER WEBSITE DESCRIPTION)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "msi.cmake needs -D${variable}=...")
    endif()
endforeach()
string(UUID product_code NAMESPACE 0E6A3F52-8C1B-4D7A-9E25-B3F04C6D1A87
    NAME "Velmora ${PRODUCT_VERSION}" TYPE SHA1 UPPER)
execute_process(
    COMMAND "${WIXL}" --arch x64 --output "${OUTPUT}"
        -D "ProductCode=${product_code}"
        -D "ProductVersion=${PRODUCT_VERSION}"
        -D "DisplayVersion=${DISPLAY_VERSION}"
        -D "Manufacturer=${MANUFACTURER}"
        -D "Website=${WEBSITE}"
        -D "Description=${DESCRIPTION}"
        "${SOURCE}"
    WORKING_DIRECTORY "${FILES}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}")
    message(FATAL_ERROR "wixl could not build ${OUTPUT}")
endif()
