#include "report/reportsheet.h"

#include <QLocale>

namespace {

constexpr int kVerdictPass = 0;
constexpr int kVerdictWarning = 1;
constexpr int kVerdictFail = 2;
constexpr int kNoVerdictFormat = 3;
const char kFileTimeFormat[] = "yyyy-MM-dd-HH-mm-ss";

int verdictSlot(int verdict)
{
    return (verdict >= kVerdictPass && verdict <= kVerdictFail) ? verdict : kNoVerdictFormat;
}

} // namespace

ReportSheet::ReportSheet(const QString &sheetName, XlsxDocument::Layout layout)
    : document(layout)
{
    document.addSheet(sheetName);
    document.selectSheet(sheetName);

    cellFormat = document.createFormat();
    cellFormat.setBorderStyleThin();
    cellFormat.setVerticalAlignmentCenter();
    cellFormat.setHorizontalAlignmentCenter();

    const int verdicts[] = {kVerdictPass, kVerdictWarning, kVerdictFail, kNoVerdictFormat};
    for (int verdict : verdicts) {
        XlsxFormat &format = verdictFormats[verdict];
        format = document.createFormat();
        format.setBorderStyleThin();
        format.setVerticalAlignmentCenter();
        format.setHorizontalAlignmentCenter();
        format.setPatternBackgroundColor(verdictColor(verdict));
    }
}

quint32 ReportSheet::verdictColor(int verdict)
{
    switch (verdict) {
    case kVerdictPass:
        return 0x00C800;
    case kVerdictWarning:
        return 0xC8C800;
    case kVerdictFail:
        return 0xC80000;
    default:
        return 0xFFFFFF;
    }
}

void ReportSheet::writeHeader(const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i)
        document.write(1, i + 1, texts.at(i), cellFormat);
}

void ReportSheet::writeText(int row, int column, const QString &text)
{
    document.write(row, column, text, cellFormat);
}

void ReportSheet::writeText(int row, int column, const QString &text, const QString &suffix)
{
    document.writeJoined(row, column, text, suffix, cellFormat);
}

void ReportSheet::writeVerdictText(int row, int column, const QString &text, int verdict)
{
    document.write(row, column, text, verdictFormats[verdictSlot(verdict)]);
}

void ReportSheet::writeNumber(int row, int column, int value)
{
    document.write(row, column, value, cellFormat);
}

void ReportSheet::writeRecordHead(int row, const QString &number, const QString &name, const QString &time)
{
    writeText(row, 1, number);
    writeText(row, 2, name);
    writeText(row, 3, time);
}

void ReportSheet::mergeRows(int column, int firstRow, int lastRow, const QString &text)
{
    // The merged block keeps the look of the cells it covers.
    document.mergeCells(firstRow, column, lastRow, column, text, cellFormat);
}

QString ReportSheet::fileName(const QString &dir, const QDateTime &when, const QString &suffix)
{
    return dir + QLatin1Char('/') + QLocale::c().toString(when, QLatin1String(kFileTimeFormat)) + suffix;
}

bool ReportSheet::save(const QString &dir, const QString &suffix)
{
    // No directory chosen: never fall back to the root or the working directory.
    if (dir.isEmpty())
        return false;
    return document.saveAs(fileName(dir, QDateTime::currentDateTime(), suffix));
}
