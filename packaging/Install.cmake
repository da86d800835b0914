# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the program as a desktop program (program with its publishing
# module, manual page, desktop entry, AppStream metainfo, icons in the hicolor
# theme). The Debian package
# (debian/) is made from the same rules:
#
#   cmake --install build --prefix /tmp/velmora
include(GNUInstallDirs)

if(TARGET velmora)
    install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The publishing and pictures modules, private to the program, which
    # finds them at this path from its own folder (VELMORA_MODULE_FROM_PROGRAM).
    install(TARGETS velmora_publish_plugin velmora_pictures_plugin
            LIBRARY DESTINATION ${VELMORA_MODULE_INSTALL_DIR})
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/Velmora.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
# The desktop entry, the metainfo and the icons share the AppStream id, so
# that software centres and desktops find one from the other.
set(VELMORA_APP_ID invalid.velmora.velmora)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${VELMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${VELMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# 32 px is the window icon itself; the larger sizes and the scalable one are
# drawn by packaging/icons/make_icons.py.
install(FILES ${PROJECT_SOURCE_DIR}/ui/resources/velmora.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME ${VELMORA_APP_ID}.png)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/packaging/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        FILES_MATCHING PATTERN "${VELMORA_APP_ID}.png" PATTERN "${VELMORA_APP_ID}.svg")
