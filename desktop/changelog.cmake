# SPDX-License-Identifier: GPL-3.0-or-later
# CHANGELOG.md is the one list of releases; the package and the metainfo
# take theirs from it.
#
#   tavrint_read_changelog(<CHANGELOG.md> VERSION <v> PACKAGE <name>
#                          MAINTAINER <"Name <address>"> DEBIAN <file>
#                          RELEASES <var> DATE <var>)
#
# A release is a section "## VERSION (YYYY-MM-DD)", newest first, holding
# paragraphs and "- " items whose further lines are indented; what comes
# before the first release is the file's own preamble. The newest release
# must be VERSION. Writes DEBIAN as the Debian changelog of a native package
# (one entry per release, in the order of the file) and sets RELEASES to the
# metainfo's <release> elements and DATE to the newest release's date.
function(tavrint_read_changelog file)
    cmake_parse_arguments(C "" "VERSION;PACKAGE;MAINTAINER;DEBIAN;RELEASES;DATE" "" ${ARGN})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    file(READ ${file} text)

    set(debian "")
    set(xml "")
    set(versions "")
    set(entry_end "")     # the closing lines of the release being read
    set(entry_end_xml "")
    set(block "")         # the paragraph or item being read
    set(block_kind "")    # p or li
    set(last_kind "")     # the release's block before it
    set(in_list FALSE)
    string(APPEND text "\n## \n") # ends the last release
    while(NOT text STREQUAL "")
        string(FIND "${text}" "\n" eol)
        string(SUBSTRING "${text}" 0 ${eol} line)
        math(EXPR eol "${eol} + 1")
        string(SUBSTRING "${text}" ${eol} -1 text)

        # A heading, an item or an empty line ends the block before it.
        if(block_kind AND (line MATCHES "^## " OR line MATCHES "^- " OR line STREQUAL ""))
            string(REPLACE "`" "" block "${block}")
            string(REPLACE "&" "&amp;" block "${block}")
            string(REPLACE "<" "&lt;" block "${block}")
            string(REPLACE ">" "&gt;" block "${block}")
            if(block_kind STREQUAL "li")
                string(APPEND xml "          <li>${block}</li>\n")
            else()
                string(APPEND xml "        <p>${block}</p>\n")
            endif()
            set(last_kind ${block_kind})
            set(block_kind "")
        endif()

        if(line MATCHES "^## (.*)$")
            set(heading "${CMAKE_MATCH_1}")
            if(in_list)
                string(APPEND xml "        </ul>\n")
                set(in_list FALSE)
            endif()
            string(APPEND debian "${entry_end}")
            string(APPEND xml "${entry_end_xml}")
            if(heading STREQUAL "")
                break()
            endif()
            if(NOT heading MATCHES "^([0-9][0-9A-Za-z.+~]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
                message(FATAL_ERROR "${file}: \"## ${heading}\" is no \"## VERSION (YYYY-MM-DD)\"")
            endif()
            set(version ${CMAKE_MATCH_1})
            set(date "${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4}")
            tavrint_rfc2822_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} stamp)
            if(NOT versions)
                if(NOT version STREQUAL C_VERSION)
                    message(FATAL_ERROR "${file}: the newest release is ${version}, "
                                        "the project's version ${C_VERSION}")
                endif()
                set(${C_DATE} ${date} PARENT_SCOPE)
            endif()
            list(APPEND versions ${version})
            string(APPEND debian "${C_PACKAGE} (${version}) stable; urgency=medium\n\n")
            set(entry_end "\n -- ${C_MAINTAINER}  ${stamp}\n\n")
            string(APPEND xml "    <release version=\"${version}\" date=\"${date}\">\n"
                              "      <description>\n")
            set(entry_end_xml "      </description>\n    </release>\n")
            set(last_kind "")
        elseif(NOT versions OR line STREQUAL "")
            # the preamble, or the end of a block
        elseif(line MATCHES "^ +(.*)$" AND block_kind)
            # a further line of the block
            if(block_kind STREQUAL "li")
                string(APPEND debian "    ${CMAKE_MATCH_1}\n")
            else()
                string(APPEND debian "  ${CMAKE_MATCH_1}\n")
            endif()
            string(APPEND block " ${CMAKE_MATCH_1}")
        else()
            # a new block: an item, or the first line of a paragraph
            if(line MATCHES "^- (.*)$")
                set(block_kind li)
                set(block "${CMAKE_MATCH_1}")
            elseif(block_kind)
                string(APPEND debian "  ${line}\n")
                string(APPEND block " ${line}")
                continue()
            else()
                set(block_kind p)
                set(block "${line}")
            endif()
            if(last_kind AND (last_kind STREQUAL "p" OR block_kind STREQUAL "p"))
                string(APPEND debian "\n")
            endif()
            if(block_kind STREQUAL "li" AND NOT in_list)
                string(APPEND xml "        <ul>\n")
                set(in_list TRUE)
            elseif(block_kind STREQUAL "p" AND in_list)
                string(APPEND xml "        </ul>\n")
                set(in_list FALSE)
            endif()
            if(block_kind STREQUAL "li")
                string(APPEND debian "  * ${block}\n")
            else()
                string(APPEND debian "  ${block}\n")
            endif()
        endif()
    endwhile()
    if(NOT versions)
        message(FATAL_ERROR "${file} names no release")
    endif()

    string(REGEX REPLACE "\n\n$" "\n" debian "${debian}")
    file(WRITE ${C_DEBIAN} "${debian}")
    string(STRIP "${xml}" xml) # the template indents the first line
    set(${C_RELEASES} "${xml}" PARENT_SCOPE)
endfunction()

# "Wed, 09 Dec 2026 00:00:00 +0000" for a date, as Debian changelogs write it.
function(tavrint_rfc2822_date year month day out)
    string(REGEX REPLACE "^0" "" m "${month}")
    string(REGEX REPLACE "^0" "" d "${day}")
    # Sakamoto's rule: 0 is Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR i "${m} - 1")
    list(GET offsets ${i} offset)
    set(y ${year})
    if(m LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekday)
    list(GET months ${i} month_name)
    set(${out} "${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
