# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fails when the version of the newest entry of debian/changelog, or of the
# newest release in the AppStream metainfo, is not the CMake project's.
#
#   cmake -DVERSION=1.3.0 -DSOURCE_DIR=... -P check_versions.cmake
file(STRINGS "${SOURCE_DIR}/debian/changelog" changelog LIMIT_COUNT 1)
string(REGEX MATCH "^velmora \\(([^)]+)\\)" _ "${changelog}")
set(changelog_version "${CMAKE_MATCH_1}")

file(READ "${SOURCE_DIR}/packaging/invalid.velmora.velmora.metainfo.xml" metainfo)
string(REGEX MATCH "<release [^>]*version=\"([^\"]+)\"" _ "${metainfo}")
set(metainfo_version "${CMAKE_MATCH_1}")

set(parted "")
if(NOT changelog_version STREQUAL VERSION)
    string(APPEND parted "\n  debian/changelog, newest entry: '${changelog_version}'")
endif()
if(NOT metainfo_version STREQUAL VERSION)
    string(APPEND parted "\n  metainfo, newest <release>: '${metainfo_version}'")
endif()
if(parted)
    message(FATAL_ERROR "The project is version ${VERSION}, but${parted}")
endif()
message(STATUS "debian/changelog and the metainfo name version ${VERSION}, as the project does")
