# Renders the contact sheet afresh and requires the copy in docs/ to be the
# same, so that the README never shows outdated artwork.
#   cmake -DTOOL=... -DFRESH=... -DCOMMITTED=... -P check_deck.cmake

execute_process(COMMAND ${TOOL} ${FRESH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the contact sheet tool failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FRESH} ${COMMITTED} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "${COMMITTED} is out of date: rebuild it with the deck_png target")
endif()
