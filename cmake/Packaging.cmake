# Installation as a Linux program and the Debian package (make package).
#
#   bin/                              balkor, balkor-batch, textor
#   share/balkor/help/                the help pages (the program has them built in)
#   share/balkor/examples/            the sample systems and load cases
#   share/balkor/vehicles/            the built-in vehicles as vehicle files
#   share/applications/balkor.desktop the desktop entry
#   share/icons/hicolor/scalable/apps/balkor.svg
#   share/mime/packages/balkor.xml    the file types .bsy and .bld
#   share/man/man1/                   balkor(1), balkor-batch(1), textor(1)
#
# The desktop program recognises such a tree ("bin" with "share/balkor" beside
# it) and keeps its settings in the user's configuration folder.
include(GNUInstallDirs)

set(BALKOR_PROGRAMS)
foreach(program balkor balkor-batch textor)
  if(TARGET ${program})
    list(APPEND BALKOR_PROGRAMS ${program})
  endif()
endforeach()
install(TARGETS ${BALKOR_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(BALKOR_SHARE ${CMAKE_INSTALL_DATADIR}/balkor)
file(GLOB help_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/ui/help/*.html)
install(FILES ${help_pages} DESTINATION ${BALKOR_SHARE}/help)
file(GLOB example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.bsy ${PROJECT_SOURCE_DIR}/examples/*.bld ${PROJECT_SOURCE_DIR}/examples/*.bpj
     ${PROJECT_SOURCE_DIR}/examples/*.json ${PROJECT_SOURCE_DIR}/examples/*.bfz)
install(FILES ${example_files} ${PROJECT_SOURCE_DIR}/examples/README.md
        DESTINATION ${BALKOR_SHARE}/examples)
file(GLOB vehicle_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/share/balkor/vehicles/*.bfz)
install(FILES ${vehicle_files} DESTINATION ${BALKOR_SHARE}/vehicles)

if(TARGET balkor)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/balkor.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/src/ui/icons/balkor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/balkor.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()

# Manual pages with the version filled in, compressed as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(man_pages)
foreach(program IN LISTS BALKOR_PROGRAMS)
  set(BALKOR_VERSION ${PROJECT_VERSION})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${program}.1
                 ${PROJECT_BINARY_DIR}/man/${program}.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${program}.1.gz
    COMMAND ${GZIP} -9nf -k ${PROJECT_BINARY_DIR}/man/${program}.1
    DEPENDS ${PROJECT_BINARY_DIR}/man/${program}.1 VERBATIM)
  list(APPEND man_pages ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package balkor_<version>_amd64.deb. Its dependencies on shared
# libraries are computed by dpkg-shlibdeps (among them CHOLMOD, libxlsxwriter4
# of the XLSX workbooks and libdxflib3 of the DXF drawings, all linked
# shared); what the programs load at run
# time without linking it is named here: Qt's SVG plugins (icons), Qt's
# German texts, the fonts of the windows and the protocol viewer, and
# OpenBLAS, which the sparse solver (CHOLMOD) finds through the system's BLAS.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME balkor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Balkor")
set(CPACK_PACKAGE_CONTACT "Balkor-Entwickler <balkor@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Berechnung ebener Trägerroste (Brücken, Decken)")
set(CPACK_PACKAGE_DESCRIPTION
    "Balkor berechnet ebene Trägerroste linear statisch nach der Methode der
finiten Elemente: Knoten, Stäbe, Querschnitte, Gelenke und ein Lastfall
werden in Tabellen eingegeben oder aus Dateien (.bsy, .bld) gelesen,
geprüft und berechnet; die Ergebnisse erscheinen als Protokolle und
Zeichnungen (Biegelinie, Querkraft, Biege- und Torsionsmoment). Ergebnisse
gehen als CSV oder Excel-Arbeitsmappe an Tabellenkalkulationen, Trägerroste
kommen als DXF-Zeichnung aus dem CAD und Bilder gehen als DXF dorthin.
Enthält das Programm balkor, die Berechnung ohne Fenster balkor-batch
und den Protokollbetrachter textor.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-translations-l10n, libqt6svg6, libopenblas0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-qpa-plugins")
include(CPack)
