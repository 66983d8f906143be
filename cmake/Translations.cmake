# lrelease only: the .ts files are sources kept in the repository and refreshed
# by scripts/update-translations (lupdate), never by the build.
set(LUMISK_TS_FILES
  ${PROJECT_SOURCE_DIR}/language/language_en.ts
  ${PROJECT_SOURCE_DIR}/language/language_zh.ts)
set_source_files_properties(${LUMISK_TS_FILES}
  PROPERTIES OUTPUT_LOCATION ${PROJECT_BINARY_DIR}/language)
qt5_add_translation(LUMISK_QM_FILES ${LUMISK_TS_FILES})

# Qt's own Chinese catalogue, under the name the application looks for.
find_file(LUMISK_QT_ZH_QM qtbase_zh_TW.qm
  PATHS /usr/share/qt5/translations ${QT_INSTALL_TRANSLATIONS}
  NO_DEFAULT_PATH)
set(LUMISK_QT_QM_OUT ${PROJECT_BINARY_DIR}/translations/qt_zh_TW.qm)
if(LUMISK_QT_ZH_QM)
  add_custom_command(OUTPUT ${LUMISK_QT_QM_OUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/translations
    COMMAND ${CMAKE_COMMAND} -E copy ${LUMISK_QT_ZH_QM} ${LUMISK_QT_QM_OUT}
    DEPENDS ${LUMISK_QT_ZH_QM})
  list(APPEND LUMISK_QM_FILES ${LUMISK_QT_QM_OUT})
else()
  message(WARNING "qtbase_zh_TW.qm not found (package qttranslations5-l10n): Qt's own texts stay in English")
endif()
add_custom_target(lumisk_translations ALL DEPENDS ${LUMISK_QM_FILES})
