# Reads the release notes (NEWS at the top of the source tree) and turns them
# into the two forms that the installation carries:
#   - a Debian changelog, written to the file `changelog`;
#   - the AppStream <release> elements, in VELMORA_APPSTREAM_RELEASES;
# and sets VELMORA_RELEASE_DATE to the date of the newest release, which must
# be the project's version.
#
#   velmora_release_notes(NEWS_FILE <file> MAINTAINER "<name> <email>" CHANGELOG <file>)

# "Mon, 07 Dec 2026 00:00:00 +0000" for 2026-12-07, as Debian changelogs date entries.
function(velmora_rfc2822_date out year month day)
    # Sakamoto's method for the day of the week, 0 being Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekday_name)
    list(GET months ${index} month_name)
    set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

function(velmora_release_notes)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NEWS_FILE;MAINTAINER;CHANGELOG" "")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${arg_NEWS_FILE}")
    file(READ "${arg_NEWS_FILE}" text)
    # A list splits at semicolons: they stand aside as a control character meanwhile.
    string(ASCII 31 semicolon)
    string(REPLACE ";" "${semicolon}" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")

    # Each release becomes a list of changes; each change, one line of text.
    set(versions "")
    set(line_number 0)
    foreach(line IN LISTS lines)
        math(EXPR line_number "${line_number} + 1")
        string(LENGTH "${line}" width)
        if(line MATCHES "^([0-9]+(\\.[0-9]+)*) ([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
            set(version "${CMAKE_MATCH_1}")
            list(APPEND versions "${version}")
            set(date_${version} "${CMAKE_MATCH_3}-${CMAKE_MATCH_4}-${CMAKE_MATCH_5}")
            velmora_rfc2822_date(rfc_${version} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${CMAKE_MATCH_5})
            set(changes_${version} 0)
        elseif(NOT versions STREQUAL "" AND (line MATCHES "^- " OR line MATCHES "^  [^ ]"))
            if(width GREATER 76)
                message(FATAL_ERROR "${arg_NEWS_FILE}:${line_number}: longer than 76 characters")
            endif()
            if(line MATCHES "^- (.*)$")
                math(EXPR changes_${version} "${changes_${version}} + 1")
                set(change_${version}_${changes_${version}} "${CMAKE_MATCH_1}")
            elseif(changes_${version} EQUAL 0)
                message(FATAL_ERROR "${arg_NEWS_FILE}:${line_number}: a continued line before the first change")
            else()
                string(STRIP "${line}" more)
                set(change_${version}_${changes_${version}} "${change_${version}_${changes_${version}}}\n${more}")
            endif()
        elseif(NOT versions STREQUAL "" AND NOT line STREQUAL "")
            message(FATAL_ERROR "${arg_NEWS_FILE}:${line_number}: neither a release, a change nor its continuation")
        endif()
    endforeach()

    list(LENGTH versions count)
    if(count EQUAL 0)
        message(FATAL_ERROR "${arg_NEWS_FILE} holds no release")
    endif()
    list(GET versions 0 newest)
    if(NOT newest STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "${arg_NEWS_FILE} has no notes for version ${PROJECT_VERSION} at the top")
    endif()

    set(changelog "")
    set(releases "")
    foreach(version IN LISTS versions)
        if(changes_${version} EQUAL 0)
            message(FATAL_ERROR "${arg_NEWS_FILE}: release ${version} lists no change")
        endif()
        if(NOT changelog STREQUAL "")
            string(APPEND changelog "\n")
        endif()
        string(APPEND changelog "velmora (${version}) unstable; urgency=medium\n\n")
        string(APPEND releases
            "    <release version=\"${version}\" date=\"${date_${version}}\">\n"
            "      <description>\n"
            "        <ul>\n")
        foreach(i RANGE 1 ${changes_${version}})
            set(change "${change_${version}_${i}}")
            string(REPLACE "\n" "\n    " entry "${change}")
            string(APPEND changelog "  * ${entry}\n")
            string(REPLACE "\n" " " item "${change}")
            velmora_xml_escape(item "${item}")
            string(APPEND releases "          <li>${item}</li>\n")
        endforeach()
        string(APPEND changelog "\n -- ${arg_MAINTAINER}  ${rfc_${version}}\n")
        string(APPEND releases
            "        </ul>\n"
            "      </description>\n"
            "    </release>\n")
    endforeach()

    string(REPLACE "${semicolon}" ";" changelog "${changelog}")
    string(REPLACE "${semicolon}" ";" releases "${releases}")
    # Rewritten only when it changes, so that a reconfigure rebuilds nothing.
    set(old "")
    if(EXISTS "${arg_CHANGELOG}")
        file(READ "${arg_CHANGELOG}" old)
    endif()
    if(NOT old STREQUAL changelog)
        file(WRITE "${arg_CHANGELOG}" "${changelog}")
    endif()
    # Without the last line break, so that the template places the elements.
    string(REGEX REPLACE "\n$" "" releases "${releases}")
    set(VELMORA_APPSTREAM_RELEASES "${releases}" PARENT_SCOPE)
    set(VELMORA_RELEASE_DATE "${date_${newest}}" PARENT_SCOPE)
endfunction()
