# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Fails unless the changelog's newest entry is for VERSION.
# usage: cmake -DVERSION=<version> -DCHANGELOG=<file> -P CheckChangelog.cmake
file(STRINGS "${CHANGELOG}" newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^vantoke \\(([^)]+)\\)")
    message(FATAL_ERROR "${CHANGELOG}: the first line is not an entry: ${newest}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "${CHANGELOG}: the newest entry is for ${CMAKE_MATCH_1}, the project is ${VERSION}")
endif()
message(STATUS "changelog: the newest entry is for ${VERSION}")
