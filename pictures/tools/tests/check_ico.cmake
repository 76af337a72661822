# Lists the built icon file with icoutils' icotool, a reader independent of
# ours, and requires a 32 × 32 and a 16 × 16 image, both at 4 bits per pixel.
#   cmake -DICOTOOL=... -DICO=... -P check_ico.cmake

execute_process(COMMAND ${ICOTOOL} -l ${ICO} OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "icotool could not read ${ICO}: ${errors}")
endif()
message(STATUS "${listing}")
foreach(size 32 16)
    if(NOT listing MATCHES "--width=${size} --height=${size} --bit-depth=4 ")
        message(FATAL_ERROR "no ${size} × ${size} image at bit depth 4 in ${ICO}")
    endif()
endforeach()
