# Installation layout: the programs in bin/, the translations under
# share/lumisk/{language,translations} (where Configuration looks for them),
# a desktop entry and the icon; CPack turns it into a .deb.
install(TARGETS lumisk lumisk-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/man/lumisk-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/lumisk-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
if(TARGET lumisk-metersim)
  install(TARGETS lumisk-metersim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

foreach(qm ${LUMISK_QM_FILES})
  get_filename_component(qm_name ${qm} NAME)
  if(qm_name MATCHES "^qt_")
    install(FILES ${qm} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumisk/translations)
  else()
    install(FILES ${qm} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumisk/language)
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/resources/lumisk.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/img/logob_t3.png)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/img/logob_t3.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME lumisk.png)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumisk)
set(CPACK_PACKAGE_VENDOR "Lumisk")
set(CPACK_PACKAGE_CONTACT "Lumisk developers <lumisk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop companion for handheld optical power meters")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Let dpkg-shlibdeps find the exact Qt, Qwt and libxlsxwriter packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The history database goes through Qt's SQLite plugin, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
# The team server (a PostgreSQL named in settings.ini) needs Qt's PostgreSQL
# plugin; without it the history stays local. The PDF reports are drawn in
# DejaVu Sans with Noto Sans CJK for Chinese; without them another installed
# face stands in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt5sql5-psql, fonts-dejavu-core, fonts-noto-cjk")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
