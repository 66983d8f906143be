// Built only where the configure check (cmake/ZipFastLevel.cmake) saw it work:
// glibc's dynamic linker and a shared libxlsxwriter that reaches minizip
// through its PLT. Anywhere else the workbooks are packed at zlib's default
// level and nothing here is compiled.
//
// libxlsxwriter 1.1.4 packs every part of a workbook at zlib's default level
// and has no option for it; for a 65 535-record report that level alone takes
// longer than writing every cell. The library's call to minizip lands on this
// definition in the program: it asks for zlib's fast level (files about a
// fifth bigger, every cell the same) and hands everything else on to minizip
// unchanged. Only the library's own default is replaced; a caller naming a
// level keeps it. The report tests read the level back from each part of a
// saved workbook, so a library that stops calling through here fails them.

#include <dlfcn.h>

extern "C" int zipOpenNewFileInZip4_64(void *file, const char *fileName, const void *fileInfo,
                                       const void *localExtra, unsigned localExtraSize, const void *globalExtra,
                                       unsigned globalExtraSize, const char *comment, int method, int level,
                                       int raw, int windowBits, int memLevel, int strategy, const char *password,
                                       unsigned long crcForCrypting, unsigned long versionMadeBy,
                                       unsigned long flagBase, int zip64)
{
    constexpr int kZlibDefaultLevel = -1;
    constexpr int kReportLevel = 2;
    constexpr int kZipInternalError = -104;
    using Open = decltype(&zipOpenNewFileInZip4_64);
    static const Open minizipOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    // Without minizip's own function the part cannot be added: the save fails.
    if (!minizipOpen)
        return kZipInternalError;
    return minizipOpen(file, fileName, fileInfo, localExtra, localExtraSize, globalExtra, globalExtraSize, comment,
                       method, level == kZlibDefaultLevel ? kReportLevel : level, raw, windowBits, memLevel,
                       strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
}
