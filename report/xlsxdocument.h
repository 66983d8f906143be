#pragma once
// The few spreadsheet calls the report writers need, on top of libxlsxwriter:
// add and select a sheet, write text or an integer by cell name ("B1") or by
// row and column (from 1), merge a range, build formats, save as a file.
//
// The workbook is assembled in a private temporary directory and copied to
// its destination only when it is complete, so a failed save leaves nothing
// behind and an existing file of the same name is replaced as a whole.
// Any refused call marks the document as failed and saveAs then reports
// false: a report is either written completely or not at all.

#include "report/xlsxformat.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>

struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

class XlsxDocument
{
public:
    // RowByRow keeps only the row being written in memory: rows must come in
    // order (a write above the current row is refused) and nothing can be
    // merged.
    enum Layout { Random, RowByRow };
    explicit XlsxDocument(Layout layout = Random);
    ~XlsxDocument();
    XlsxDocument(const XlsxDocument &) = delete;
    XlsxDocument &operator=(const XlsxDocument &) = delete;

    // Adds a sheet and makes it the one written to and shown first. Characters
    // a sheet name cannot hold become '_', and the name is cut to 31 characters.
    bool addSheet(const QString &name);
    bool selectSheet(const QString &name);

    XlsxFormat createFormat();

    bool write(const QString &cellName, const QString &text, const XlsxFormat &format = XlsxFormat());
    bool write(int row, int column, const QString &text, const XlsxFormat &format = XlsxFormat());
    // Writes text followed by suffix as one text cell, without building the
    // joined string first (a value and its unit, cell after cell).
    bool writeJoined(int row, int column, const QString &text, const QString &suffix,
                     const XlsxFormat &format = XlsxFormat());
    bool write(int row, int column, int value, const XlsxFormat &format = XlsxFormat());
    // Merges a range given as two cell names joined by a colon ("A2:A3") and
    // leaves `text` in it.
    bool mergeCells(const QString &range, const QString &text, const XlsxFormat &format = XlsxFormat());
    bool mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
                    const XlsxFormat &format = XlsxFormat());

    // Completes the workbook and writes it to fileName. Only one save is
    // possible; afterwards the document takes no more writes.
    bool saveAs(const QString &fileName);

    bool hasFailed() const { return failed; }

    // "A1"-style name to 1-based row and column; false for anything else.
    static bool cellNameToRowColumn(const QString &name, int *row, int *column);
    static QString columnName(int column);
    static QString sanitizedSheetName(const QString &name);

private:
    static lxw_format *handleOf(const XlsxFormat &format);
    bool fail();
    bool writable() const;
    lxw_worksheet *sheetNamed(const QString &name) const;
    const char *cellText(const QString &text, const QString &suffix);
    bool writeCellText(int row, int column, const char *utf8, const XlsxFormat &format);

    QTemporaryDir tempDir;
    QByteArray tempFile;
    QByteArray scratchDir;
    // The UTF-8 text of the cell being written, reused from cell to cell.
    std::string cellBytes;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *currentSheet = nullptr;
    bool failed = false;
    bool closed = false;
    bool rowByRow = false;
};
