# Installs the program as a desktop program (program, desktop entry, AppStream
# metainfo, icons in the hicolor theme) and describes the Debian package that
# CPack builds from the same rules:
#
#   cmake --install build --prefix /tmp/velmora
#   cpack --config build/CPackConfig.cmake -B build/package
include(GNUInstallDirs)

if(TARGET velmora)
    install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Assistent für eine einseitige Homepage")
set(CPACK_PACKAGE_DESCRIPTION
    "Ein Assistent in deutscher Sprache, der ohne HTML-Kenntnisse eine einseitige\n\
Homepage baut: Hintergrund, Überschrift, Links, Text und Bilder werden auf\n\
sechs Seiten eingegeben, und ein Klick auf F E R T I G schreibt die Seite\n\
als HTML-Datei.")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.invalid/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# The libraries come from dpkg-shlibdeps, which reads the versions each one
# needs from the symbols the program takes from it: a package built on a newer
# release names that release's libraries and versions, and apt refuses it on
# an older one instead of installing a program that cannot start. Named by
# hand are what the program loads at run time without linking it: the faces
# that stand in for the ones the windows ask for (packaging/faces.txt; the
# clean-root check of ./test.sh resolves each there), and Qt's Wayland
# platform. Without that platform the program runs through Xwayland, blurred
# on a scaled desktop, and does not start at all on a Wayland desktop without
# Xwayland; so it is a dependency, not a recommendation that an installation
# without recommends leaves out.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core, fonts-dejavu-extra, qt6-wayland")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
