# Installation layout: the programs in bin/, their manual pages (gzip'd),
# the translations under share/lumisk/{language,translations} (where
# Configuration looks for them), a desktop entry and the icon, and under
# share/doc/lumisk the copyright file and the changelog; CPack turns it into a
# .deb that lintian passes (scripts/package runs it when it is installed).
set(LUMISK_PROGRAMS lumisk lumisk-cli)
if(TARGET lumisk-metersim)
  list(APPEND LUMISK_PROGRAMS lumisk-metersim)
endif()
install(TARGETS ${LUMISK_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/lumisk-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages and the changelog are compressed the way Debian wants them:
# gzip -9n, so that neither a name nor a time stamp goes into the file and
# the same source always gives the same bytes.
find_program(LUMISK_GZIP gzip REQUIRED)
set(LUMISK_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/doc)
set(LUMISK_GZIPPED)
function(lumisk_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMISK_DOC_BUILD_DIR}
    COMMAND ${LUMISK_GZIP} -9n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
  set(LUMISK_GZIPPED ${LUMISK_GZIPPED} ${output} PARENT_SCOPE)
endfunction()
foreach(program ${LUMISK_PROGRAMS})
  lumisk_gzip(${PROJECT_SOURCE_DIR}/resources/man/${program}.1 ${LUMISK_DOC_BUILD_DIR}/${program}.1.gz)
  install(FILES ${LUMISK_DOC_BUILD_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
lumisk_gzip(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${LUMISK_DOC_BUILD_DIR}/changelog.Debian.gz)
add_custom_target(lumisk_docs ALL DEPENDS ${LUMISK_GZIPPED})
set(LUMISK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lumisk)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${LUMISK_DOC_BUILD_DIR}/changelog.Debian.gz
  DESTINATION ${LUMISK_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME lumisk)

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

# The package's version is the project's with the Debian revision of the
# changelog's latest entry, which must name the project's version.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/debian/changelog LUMISK_CHANGELOG_TOP LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
if(NOT LUMISK_CHANGELOG_TOP MATCHES "^lumisk \\(([^)-]+)-([^)]+)\\)")
  message(FATAL_ERROR "resources/debian/changelog: the first line is not \"lumisk (VERSION-REVISION) ...\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "resources/debian/changelog: the latest entry is ${CMAKE_MATCH_1}, the project ${PROJECT_VERSION}; add an entry")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumisk)
set(CPACK_PACKAGE_VENDOR "Lumisk")
set(CPACK_PACKAGE_CONTACT "Lumisk developers <lumisk-dev@lumisk.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion for handheld optical power meters")
set(CPACK_PACKAGE_DESCRIPTION "Lumisk talks to a handheld optical power meter over its serial line: it
finds and identifies the meter, downloads every stored record (single-wave,
multi-wave, partial-wave, PON and XG-PON), shows them in paged tables and
cards with pass, warning and fail verdicts, plots a live power curve with its
statistics, sets the meter's clock and saves every view as an .xlsx, .csv
or PDF report, in English or Chinese. Every record and live reading is kept
in a local history database, optionally copied to a PostgreSQL team server.

The package carries three programs: lumisk, the window; lumisk-cli, the same
from a terminal, a script or a cron job (identify, download to .xlsx, .csv or
JSON, log readings, set the clock, read and sync the history); and
lumisk-metersim, a simulated meter on a pseudo-terminal for trying Lumisk
without a meter.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Stripped programs, no -dbgsym package.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE OFF)
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
