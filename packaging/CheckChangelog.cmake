# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Reads the Debian-format changelog, where each release's version and date are written once.
# Included, it defines vantoke_read_changelog(). Run as a script, it is the changelogVersion test:
#   cmake -DVERSION=<version> -DCHANGELOG=<file> -P CheckChangelog.cmake
# which fails unless every entry can be read and the newest is for VERSION.
cmake_policy(VERSION 3.25)

# Sets <prefix>_VERSIONS and <prefix>_DATES (YYYY-MM-DD, the day as written), newest first, and
# <prefix>_EPOCH, the newest entry's time in seconds since 1970 UTC. Stops at the first entry it
# cannot read, with a one-line message.
function(vantoke_read_changelog changelog prefix)
    get_filename_component(name "${changelog}" NAME)
    # An entry's first line starts in the first column; its trailer line starts with " -- ".
    file(STRINGS "${changelog}" lines REGEX "^([^ ]| -- )")
    set(versions "")
    set(dates "")
    set(version "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^vantoke \\(([0-9A-Za-z.+~:-]+)\\) ")
            if(NOT version STREQUAL "")
                message(FATAL_ERROR "${name} (${version}): no trailer line")
            endif()
            set(version ${CMAKE_MATCH_1})
        elseif(NOT line MATCHES "^ -- ")
            message(FATAL_ERROR "${name}: not an entry's first line: \"${line}\"")
        elseif(version STREQUAL "")
            message(FATAL_ERROR "${name}: a trailer line before any entry")
        elseif(NOT line MATCHES "^ -- [^ ].* <[^>]+>  (.+)$")
            message(FATAL_ERROR "${name} (${version}): the trailer line is not \" -- name <email>\", two spaces, a date")
        else()
            _vantoke_changelog_date("${CMAKE_MATCH_1}" "${name} (${version})" date epoch)
            if(versions STREQUAL "")
                set(newest_epoch ${epoch})
            endif()
            list(APPEND versions ${version})
            list(APPEND dates ${date})
            set(version "")
        endif()
    endforeach()
    if(NOT version STREQUAL "")
        message(FATAL_ERROR "${name} (${version}): no trailer line")
    endif()
    if(versions STREQUAL "")
        message(FATAL_ERROR "${name}: no entry")
    endif()
    set(${prefix}_VERSIONS ${versions} PARENT_SCOPE)
    set(${prefix}_DATES ${dates} PARENT_SCOPE)
    set(${prefix}_EPOCH ${newest_epoch} PARENT_SCOPE)
endfunction()

# Reads an RFC 2822 date as Debian writes it, "Mon, 07 Dec 2026 12:00:00 +0000", into its day
# (YYYY-MM-DD) and its time in seconds since 1970 UTC; stops, naming <entry>, when it cannot.
function(_vantoke_changelog_date text entry out_day out_epoch)
    set(weekdays Thu Fri Sat Sun Mon Tue Wed) # 1970-01-01 was a Thursday
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    set(month_days 31 28 31 30 31 30 31 31 30 31 30 31)
    if(NOT text MATCHES "^(Mon|Tue|Wed|Thu|Fri|Sat|Sun), ([0-9]?[0-9]) \
(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ([0-9][0-9][0-9][0-9]) \
([01][0-9]|2[0-3]):([0-5][0-9]):([0-5][0-9]) ([+-])([01][0-9][0-5][0-9])$")
        message(FATAL_ERROR "${entry}: cannot read the date \"${text}\"")
    endif()
    set(weekday ${CMAKE_MATCH_1})
    set(day ${CMAKE_MATCH_2})
    list(FIND months ${CMAKE_MATCH_3} month)
    set(year ${CMAKE_MATCH_4})
    math(EXPR seconds "${CMAKE_MATCH_5} * 3600 + ${CMAKE_MATCH_6} * 60 + ${CMAKE_MATCH_7}")
    string(SUBSTRING ${CMAKE_MATCH_9} 0 2 zone_hours)
    string(SUBSTRING ${CMAKE_MATCH_9} 2 2 zone_minutes)
    math(EXPR zone "${CMAKE_MATCH_8}(${zone_hours} * 3600 + ${zone_minutes} * 60)")

    list(GET month_days ${month} length)
    math(EXPR by4 "${year} % 4")
    math(EXPR by100 "${year} % 100")
    math(EXPR by400 "${year} % 400")
    if(month EQUAL 1 AND by4 EQUAL 0 AND (NOT by100 EQUAL 0 OR by400 EQUAL 0))
        set(length 29)
    endif()
    if(year LESS 1970 OR day LESS 1 OR day GREATER length)
        message(FATAL_ERROR "${entry}: cannot read the date \"${text}\"")
    endif()

    # Days since 1970-01-01 of the civil date, counting years from March so that a leap day ends one.
    math(EXPR month "${month} + 1")
    if(month LESS_EQUAL 2)
        math(EXPR y "${year} - 1")
        math(EXPR m "${month} + 9")
    else()
        set(y ${year})
        math(EXPR m "${month} - 3")
    endif()
    math(EXPR days "${y} * 365 + ${y} / 4 - ${y} / 100 + ${y} / 400 + (153 * ${m} + 2) / 5 + ${day} - 1
        - 719468")
    math(EXPR weekday_index "${days} % 7")
    list(GET weekdays ${weekday_index} actual_weekday)
    if(NOT weekday STREQUAL actual_weekday)
        message(FATAL_ERROR "${entry}: the date \"${text}\" is a ${actual_weekday}")
    endif()

    if(month LESS 10)
        set(month 0${month})
    endif()
    if(day MATCHES "^[0-9]$")
        set(day 0${day})
    endif()
    set(${out_day} ${year}-${month}-${day} PARENT_SCOPE)
    math(EXPR epoch "${days} * 86400 + ${seconds} - ${zone}")
    set(${out_epoch} ${epoch} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    vantoke_read_changelog("${CHANGELOG}" changelog)
    list(GET changelog_VERSIONS 0 newest)
    if(NOT newest STREQUAL VERSION)
        message(FATAL_ERROR "changelog: the newest entry is for ${newest}, the project is ${VERSION}")
    endif()
    list(GET changelog_DATES 0 date)
    message(STATUS "changelog: the newest entry is for ${VERSION}, of ${date}")
endif()
