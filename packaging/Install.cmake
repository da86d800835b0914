# Installs the program as a desktop program (program, desktop entry, icon in
# the hicolor theme) and describes the Debian package that CPack builds from
# the same rules:
#
#   cmake --install build --prefix /tmp/velmora
#   cpack --config build/CPackConfig.cmake -B build/package
include(GNUInstallDirs)

if(TARGET velmora)
    install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/ui/resources/velmora.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

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
# Named rather than worked out by dpkg-shlibdeps, so that building the
# package needs no dpkg-dev; these are the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4.2), libqt6gui6 (>= 6.4.2), libqt6core6 (>= 6.4.2), libstdc++6, libc6")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
