#pragma once
// The one-sheet workbook every report writer fills: a header row, data
// cells in thin borders centred both ways, verdict cells on a solid colour,
// and a file named by the local date and time of the save.

#include "report/xlsxdocument.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class ReportSheet
{
public:
    // Adds the sheet, selects it and builds the cell formats. A RowByRow
    // sheet is written from the top down and has no merged cells.
    explicit ReportSheet(const QString &sheetName, XlsxDocument::Layout layout = XlsxDocument::Random);

    // Header texts from A1 on, left to right.
    void writeHeader(const QStringList &texts);
    // Rows and columns count from 1.
    void writeText(int row, int column, const QString &text);
    // text followed by suffix in one cell, as writeText(text + suffix).
    void writeText(int row, int column, const QString &text, const QString &suffix);
    // Verdicts: 0 pass, 1 warning, 2 fail; anything else is drawn white.
    void writeVerdictText(int row, int column, const QString &text, int verdict);
    void writeNumber(int row, int column, int value);
    // Number, name and time of a record in columns A to C.
    void writeRecordHead(int row, const QString &number, const QString &name, const QString &time);
    // Joins the cells of one column from firstRow to lastRow, showing text.
    void mergeRows(int column, int firstRow, int lastRow, const QString &text);

    // Saves as dir + "/" + the date-time of now + suffix.
    bool save(const QString &dir, const QString &suffix);

    static QString fileName(const QString &dir, const QDateTime &when, const QString &suffix);
    // The verdict cells' fill, 0xRRGGBB.
    static quint32 verdictColor(int verdict);

private:
    XlsxDocument document;
    XlsxFormat cellFormat;
    XlsxFormat verdictFormats[4];
};
