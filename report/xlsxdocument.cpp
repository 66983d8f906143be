#include "report/xlsxdocument.h"

#include <QFile>
#include <QSaveFile>

#include <xlsxwriter.h>

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kMaxSheetNameLength = 31;
constexpr int kCopyChunk = 1 << 16;
const char kWorkbookFileName[] = "/workbook.xlsx";

bool inSheet(int row, int column)
{
    return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns;
}

// Appends text to bytes if it is plain ASCII; false at its first other
// character, with bytes then partly filled.
bool appendAscii(std::string &bytes, const QString &text)
{
    const QChar *chars = text.constData();
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const ushort unit = chars[i].unicode();
        if (unit >= 0x80)
            return false;
        bytes.push_back(char(unit));
    }
    return true;
}

} // namespace

lxw_format *XlsxDocument::handleOf(const XlsxFormat &format)
{
    return format.format;
}

XlsxDocument::XlsxDocument(Layout layout)
    : rowByRow(layout == RowByRow)
{
    if (!tempDir.isValid()) {
        failed = true;
        return;
    }
    tempFile = QFile::encodeName(tempDir.path() + QLatin1String(kWorkbookFileName));
    // Row by row, the finished rows go to a file in the private directory.
    scratchDir = QFile::encodeName(tempDir.path());
    lxw_workbook_options options{};
    options.constant_memory = rowByRow ? LXW_TRUE : LXW_FALSE;
    options.tmpdir = scratchDir.data();
    workbook = workbook_new_opt(tempFile.constData(), &options);
    if (!workbook)
        failed = true;
}

XlsxDocument::~XlsxDocument()
{
    if (workbook && !closed)
        lxw_workbook_free(workbook);
}

bool XlsxDocument::fail()
{
    failed = true;
    return false;
}

bool XlsxDocument::writable() const
{
    return workbook && !closed && !failed;
}

QString XlsxDocument::sanitizedSheetName(const QString &name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    QString cleaned;
    int characters = 0;
    for (int i = 0; i < name.size() && characters < kMaxSheetNameLength; ++i) {
        const QChar ch = name.at(i);
        if (ch.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            cleaned += ch;
            cleaned += name.at(++i);
        } else if (ch.isSurrogate() || forbidden.contains(ch) || ch.unicode() < 0x20) {
            cleaned += QLatin1Char('_');
        } else {
            cleaned += ch;
        }
        ++characters;
    }
    // A sheet name may not begin or end with an apostrophe.
    if (cleaned.startsWith(QLatin1Char('\'')))
        cleaned[0] = QLatin1Char('_');
    if (cleaned.endsWith(QLatin1Char('\'')))
        cleaned[cleaned.size() - 1] = QLatin1Char('_');
    if (cleaned.trimmed().isEmpty())
        cleaned = QStringLiteral("Sheet1");
    return cleaned;
}

lxw_worksheet *XlsxDocument::sheetNamed(const QString &name) const
{
    const QByteArray utf8 = sanitizedSheetName(name).toUtf8();
    return workbook_get_worksheet_by_name(workbook, utf8.constData());
}

bool XlsxDocument::addSheet(const QString &name)
{
    if (!writable())
        return fail();
    const QByteArray utf8 = sanitizedSheetName(name).toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, utf8.constData());
    if (!sheet)
        return fail();
    currentSheet = sheet;
    worksheet_activate(sheet);
    return true;
}

bool XlsxDocument::selectSheet(const QString &name)
{
    if (!writable())
        return fail();
    lxw_worksheet *sheet = sheetNamed(name);
    if (!sheet)
        return fail();
    currentSheet = sheet;
    worksheet_activate(sheet);
    return true;
}

XlsxFormat XlsxDocument::createFormat()
{
    if (!writable())
        return XlsxFormat();
    lxw_format *format = workbook_add_format(workbook);
    if (!format)
        fail();
    return XlsxFormat(format);
}

bool XlsxDocument::cellNameToRowColumn(const QString &name, int *row, int *column)
{
    int i = 0;
    qint64 col = 0;
    while (i < name.size() && name.at(i) >= QLatin1Char('A') && name.at(i) <= QLatin1Char('Z')
           && col <= kMaxColumns) {
        col = col * 26 + (name.at(i).unicode() - 'A' + 1);
        ++i;
    }
    if (i == 0 || i == name.size())
        return false;
    qint64 r = 0;
    for (int j = i; j < name.size(); ++j) {
        const QChar ch = name.at(j);
        if (!ch.isDigit() || ch.unicode() > '9' || r > kMaxRows)
            return false;
        r = r * 10 + (ch.unicode() - '0');
    }
    if (!inSheet(int(r), int(col)) || r > kMaxRows || col > kMaxColumns)
        return false;
    *row = int(r);
    *column = int(col);
    return true;
}

QString XlsxDocument::columnName(int column)
{
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QLatin1Char(char('A' + digit)));
        column = (column - 1) / 26;
    }
    return name;
}

bool XlsxDocument::write(const QString &cellName, const QString &text, const XlsxFormat &format)
{
    int row = 0;
    int column = 0;
    if (!cellNameToRowColumn(cellName, &row, &column))
        return fail();
    return write(row, column, text, format);
}

const char *XlsxDocument::cellText(const QString &text, const QString &suffix)
{
    // Nearly every report text is ASCII (numbers, units, times) and is copied
    // as it is; anything else goes through Qt's encoder, joined first so that
    // it alone decides what becomes of a surrogate, paired or not.
    cellBytes.clear();
    if (!appendAscii(cellBytes, text) || !appendAscii(cellBytes, suffix)) {
        const QByteArray utf8 = (suffix.isEmpty() ? text : text + suffix).toUtf8();
        cellBytes.assign(utf8.constData(), size_t(utf8.size()));
    }
    return cellBytes.c_str();
}

bool XlsxDocument::writeCellText(int row, int column, const char *utf8, const XlsxFormat &format)
{
    const lxw_error error = worksheet_write_string(currentSheet, lxw_row_t(row - 1), lxw_col_t(column - 1), utf8,
                                                   handleOf(format));
    return error == LXW_NO_ERROR ? true : fail();
}

bool XlsxDocument::write(int row, int column, const QString &text, const XlsxFormat &format)
{
    if (!writable() || !currentSheet || !inSheet(row, column))
        return fail();
    return writeCellText(row, column, cellText(text, QString()), format);
}

bool XlsxDocument::writeJoined(int row, int column, const QString &text, const QString &suffix,
                               const XlsxFormat &format)
{
    if (!writable() || !currentSheet || !inSheet(row, column))
        return fail();
    return writeCellText(row, column, cellText(text, suffix), format);
}

bool XlsxDocument::write(int row, int column, int value, const XlsxFormat &format)
{
    if (!writable() || !currentSheet || !inSheet(row, column))
        return fail();
    const lxw_error error = worksheet_write_number(currentSheet, lxw_row_t(row - 1), lxw_col_t(column - 1),
                                                   double(value), handleOf(format));
    return error == LXW_NO_ERROR ? true : fail();
}

bool XlsxDocument::mergeCells(const QString &range, const QString &text, const XlsxFormat &format)
{
    const QStringList corners = range.split(QLatin1Char(':'));
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    if (corners.size() != 2 || !cellNameToRowColumn(corners.at(0), &firstRow, &firstColumn)
        || !cellNameToRowColumn(corners.at(1), &lastRow, &lastColumn))
        return fail();
    return mergeCells(firstRow, firstColumn, lastRow, lastColumn, text, format);
}

bool XlsxDocument::mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
                              const XlsxFormat &format)
{
    // Row by row, the library would quietly drop every write after a merge.
    if (rowByRow)
        return fail();
    if (!writable() || !currentSheet || !inSheet(firstRow, firstColumn) || !inSheet(lastRow, lastColumn))
        return fail();
    const lxw_error error = worksheet_merge_range(currentSheet, lxw_row_t(firstRow - 1), lxw_col_t(firstColumn - 1),
                                                  lxw_row_t(lastRow - 1), lxw_col_t(lastColumn - 1),
                                                  cellText(text, QString()), handleOf(format));
    return error == LXW_NO_ERROR ? true : fail();
}

bool XlsxDocument::saveAs(const QString &fileName)
{
    if (!workbook || closed)
        return false;
    closed = true;
    // Closing also frees the workbook, so it is closed even when the
    // document already failed; only a complete workbook is copied out.
    const lxw_error error = workbook_close(workbook);
    workbook = nullptr;
    currentSheet = nullptr;
    if (failed || error != LXW_NO_ERROR)
        return fail();

    QFile built(QFile::decodeName(tempFile));
    if (!built.open(QIODevice::ReadOnly))
        return fail();
    QSaveFile target(fileName);
    if (!target.open(QIODevice::WriteOnly))
        return fail();
    // One buffer for the whole copy, not a fresh one per chunk.
    QByteArray chunk(kCopyChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 read = built.read(chunk.data(), chunk.size());
        if (read == 0)
            break;
        if (read < 0 || target.write(chunk.constData(), read) != read) {
            target.cancelWriting();
            target.commit();
            return fail();
        }
    }
    if (!target.commit())
        return fail();
    return true;
}
