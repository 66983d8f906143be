# LUMISK_ZIP_FAST_LEVEL: report/zipfastlevel.cpp is built into lumisk_report,
# so libxlsxwriter packs workbooks at zlib's fast level. The default is what a
# check finds: the file itself, linked into a program with the libxlsxwriter
# found, has to change the level of a workbook it saves. That needs a dynamic
# linker with RTLD_NEXT and a shared libxlsxwriter that calls minizip through
# its PLT; a static library, -Bsymbolic or another platform fail the check
# and the reports are packed at the default level.
set(_zip_check_result)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_CROSSCOMPILING)
  try_run(_zip_check_run _zip_check_compile ${PROJECT_BINARY_DIR}/zipfastlevelcheck
    SOURCES ${PROJECT_SOURCE_DIR}/report/zipfastlevel.cpp ${PROJECT_SOURCE_DIR}/cmake/zipfastlevelcheck.cpp
    LINK_LIBRARIES PkgConfig::XLSXWRITER ${CMAKE_DL_LIBS}
    ARGS ${PROJECT_BINARY_DIR}/zipfastlevelcheck/check.xlsx)
  if(_zip_check_compile AND _zip_check_run EQUAL 0)
    set(_zip_check_result ON)
  endif()
endif()
if(_zip_check_result)
  message(STATUS "Reports packed at zlib's fast level: yes")
else()
  message(STATUS "Reports packed at zlib's fast level: no (the hook was not reached)")
endif()
option(LUMISK_ZIP_FAST_LEVEL "Pack the reports at zlib's fast level (report/zipfastlevel.cpp)" ${_zip_check_result})
