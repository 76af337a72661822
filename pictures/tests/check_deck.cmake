# Renders the contact sheet afresh and requires the copy in docs/ to be the
# same, so that the README never shows outdated artwork.
#   cmake [-DEMULATOR=wine...] -DTOOL=... -DFRESH=... -DCOMMITTED=... -P check_deck.cmake
# EMULATOR is the cross build's command line that runs the tool, its words separated by "|".

string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
execute_process(COMMAND ${EMULATOR} ${TOOL} ${FRESH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the contact sheet tool failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FRESH} ${COMMITTED} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "${COMMITTED} is out of date: rebuild it with the deck_png target")
endif()
