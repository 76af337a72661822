# Renders the contact sheet afresh and requires the copy in docs/ to show the
# same pixels, so that the README never shows outdated artwork. The bytes are
# compared first; when they differ, ImageMagick compares the decoded pixels, so
# that another zlib release compressing differently does not count as outdated.
#   cmake [-DEMULATOR=wine...] -DTOOL=... -DCOMPARE=... -DFRESH=... -DCOMMITTED=... -P check_deck.cmake
# EMULATOR is the cross build's command line that runs the tool, its words separated by "|".

string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
execute_process(COMMAND ${EMULATOR} ${TOOL} ${FRESH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the contact sheet tool failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FRESH} ${COMMITTED} RESULT_VARIABLE differs)
if(NOT differs)
    return()
endif()
# Prints the number of differing pixels; fails for pictures of different sizes.
execute_process(COMMAND ${COMPARE} -metric AE ${FRESH} ${COMMITTED} null:
    RESULT_VARIABLE result ERROR_VARIABLE pixels)
if(NOT result EQUAL 0 OR NOT pixels STREQUAL "0")
    message(FATAL_ERROR "${COMMITTED} is out of date (${pixels} pixels differ): rebuild it with the deck_png target")
endif()
message(STATUS "${COMMITTED} holds the same pixels in other bytes: zlib compresses differently here")
