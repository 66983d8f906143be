// The spreadsheet wrapper: cell names, sheet names, text written in two
// parts, a refused write turning the whole save into a failure that leaves no
// file, and the zlib level the parts of a saved workbook are packed at.

#include "testregistry.h"
#include "workbookdump.h"

#include "report/xlsxdocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {
// Bits 1-2 of the general-purpose flag in the local header of each deflated
// part of the zip at path, found through the central directory; empty when
// the file is no zip of that plain shape.
QList<int> deflateLevelFlags(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray zip = file.readAll();
    const auto at = [&zip](qint64 offset, int size) -> quint32 {
        if (offset < 0 || offset + size > zip.size())
            return 0;
        const auto *bytes = reinterpret_cast<const uchar *>(zip.constData() + offset);
        return size == 2 ? qFromLittleEndian<quint16>(bytes) : qFromLittleEndian<quint32>(bytes);
    };
    const qint64 end = zip.size() - 22;
    if (at(end, 4) != 0x06054b50)
        return {};
    QList<int> flags;
    qint64 entry = at(end + 16, 4);
    for (quint32 n = at(end + 10, 2); n > 0; --n) {
        const qint64 local = at(entry + 42, 4);
        if (at(entry, 4) != 0x02014b50 || at(local, 4) != 0x04034b50)
            return {};
        if (at(local + 8, 2) == 8)
            flags << int((at(local + 6, 2) >> 1) & 3);
        entry += 46 + at(entry + 28, 2) + at(entry + 30, 2) + at(entry + 32, 2);
    }
    return flags;
}
} // namespace

class TestXlsxDocument : public QObject
{
    Q_OBJECT

private slots:
    void cellNames_data();
    void cellNames();
    void sheetNames_data();
    void sheetNames();
    void joinedText_data();
    void joinedText();
    void refusedWriteFailsTheSave_data();
    void refusedWriteFailsTheSave();
    void packingLevel_data();
    void packingLevel();
};

void TestXlsxDocument::cellNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("A1") << "A1" << true << 1 << 1;
    QTest::newRow("AA10") << "AA10" << true << 10 << 27;
    QTest::newRow("last cell") << "XFD1048576" << true << 1048576 << 16384;
    QTest::newRow("empty") << "" << false << 0 << 0;
    QTest::newRow("no row") << "A" << false << 0 << 0;
    QTest::newRow("row 0") << "A0" << false << 0 << 0;
    QTest::newRow("lower case") << "a1" << false << 0 << 0;
    QTest::newRow("swapped") << "1A" << false << 0 << 0;
    QTest::newRow("column beyond") << "XFE1" << false << 0 << 0;
    QTest::newRow("row beyond") << "A1048577" << false << 0 << 0;
    QTest::newRow("huge row") << "A99999999999999999999" << false << 0 << 0;
    QTest::newRow("other digits") << QString::fromUtf8("A١") << false << 0 << 0;
}

void TestXlsxDocument::cellNames()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    int row = 0;
    int column = 0;
    QCOMPARE(XlsxDocument::cellNameToRowColumn(name, &row, &column), valid);
    if (valid) {
        QTEST(row, "row");
        QTEST(column, "column");
        QCOMPARE(XlsxDocument::columnName(column) + QString::number(row), name);
    }
}

void TestXlsxDocument::sheetNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("forbidden") << "a[b]c:d*e?f/g\\h" << "a_b_c_d_e_f_g_h";
    QTest::newRow("too long") << QString(40, QLatin1Char('x')) << QString(31, QLatin1Char('x'));
    QTest::newRow("apostrophes") << "'quoted'" << "_quoted_";
    QTest::newRow("empty") << "" << "Sheet1";
    // Characters count, not UTF-16 units: the emoji pair stays whole.
    QTest::newRow("emoji at the cut")
        << QString(30, QLatin1Char('x')) + QString::fromUtf8("🔦🔦")
        << QString(30, QLatin1Char('x')) + QString::fromUtf8("🔦");
}

void TestXlsxDocument::sheetNames()
{
    QFETCH(QString, name);
    QTEST(XlsxDocument::sanitizedSheetName(name), "expected");

    // Whatever it is given, the sheet is accepted and the workbook saves.
    QTemporaryDir dir;
    XlsxDocument document;
    QVERIFY(document.addSheet(name));
    QVERIFY(document.selectSheet(name));
    QVERIFY(document.write(QStringLiteral("A1"), QStringLiteral("x")));
    QVERIFY(document.saveAs(dir.path() + QStringLiteral("/book.xlsx")));
    const WorkbookDump dump = WorkbookDump::read(dir.path() + QStringLiteral("/book.xlsx"));
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QTEST(dump.sheet(), "expected");
}

void TestXlsxDocument::joinedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ASCII") << "-12.34" << "dBm" << "-12.34dBm";
    QTest::newRow("no suffix") << "270" << "" << "270";
    QTest::newRow("unit beyond ASCII") << "1.23" << QString::fromUtf8("μW") << QString::fromUtf8("1.23μW");
    QTest::newRow("text beyond ASCII") << QString::fromUtf8("光纤 🔦") << "-1" << QString::fromUtf8("光纤 🔦-1");
    QTest::newRow("pair split between them") << QString(QChar(0xD83D)) << QString(QChar(0xDD26))
                                             << QString::fromUtf8("🔦");
    QTest::newRow("lone surrogate") << QString(QChar(0xDD26)) + QLatin1Char('x') << "dB" << "?xdB";
}

void TestXlsxDocument::joinedText()
{
    // The two parts read back as the one joined text written whole.
    QFETCH(QString, text);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    XlsxDocument document;
    QVERIFY(document.addSheet(QStringLiteral("data")));
    QVERIFY(document.writeJoined(1, 1, text, suffix));
    QVERIFY(document.write(1, 2, text + suffix));
    QVERIFY(document.saveAs(dir.path() + QStringLiteral("/book.xlsx")));
    const WorkbookDump dump = WorkbookDump::read(dir.path() + QStringLiteral("/book.xlsx"));
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QTEST(dump.text(QStringLiteral("A1")), "expected");
    QTEST(dump.text(QStringLiteral("B1")), "expected");
}

void TestXlsxDocument::refusedWriteFailsTheSave_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("bad cell name") << 0;
    QTest::newRow("row 0") << 1;
    QTest::newRow("text too long for a cell") << 2;
    QTest::newRow("bad merge range") << 3;
    QTest::newRow("no sheet") << 4;
    QTest::newRow("unknown sheet") << 5;
    QTest::newRow("row by row: a row above the last") << 6;
    QTest::newRow("row by row: a merge") << 7;
}

void TestXlsxDocument::refusedWriteFailsTheSave()
{
    QFETCH(int, fault);
    QTemporaryDir dir;
    XlsxDocument document(fault >= 6 ? XlsxDocument::RowByRow : XlsxDocument::Random);
    if (fault != 4)
        QVERIFY(document.addSheet(QStringLiteral("data")));
    QVERIFY(document.write(1, 1, QStringLiteral("fine")) || fault == 4);
    switch (fault) {
    case 0:
        QVERIFY(!document.write(QStringLiteral("1A"), QStringLiteral("x")));
        break;
    case 1:
        QVERIFY(!document.write(0, 1, QStringLiteral("x")));
        break;
    case 2:
        QVERIFY(!document.write(2, 1, QString(40000, QLatin1Char('x'))));
        break;
    case 3:
        QVERIFY(!document.mergeCells(QStringLiteral("A2-A3"), QStringLiteral("x")));
        break;
    case 4:
        QVERIFY(!document.write(1, 1, QStringLiteral("nowhere")));
        break;
    case 5:
        QVERIFY(!document.selectSheet(QStringLiteral("other")));
        break;
    case 6:
        QVERIFY(document.write(3, 1, QStringLiteral("x")));
        QVERIFY(!document.write(2, 1, QStringLiteral("x")));
        break;
    case 7:
        QVERIFY(!document.mergeCells(QStringLiteral("A2:A3"), QStringLiteral("x")));
        break;
    }
    QVERIFY(document.hasFailed());
    QVERIFY(!document.saveAs(dir.path() + QStringLiteral("/book.xlsx")));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    // A document saves once.
    QVERIFY(!document.saveAs(dir.path() + QStringLiteral("/again.xlsx")));
}

void TestXlsxDocument::packingLevel_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("random") << int(XlsxDocument::Random);
    QTest::newRow("row by row") << int(XlsxDocument::RowByRow);
}

void TestXlsxDocument::packingLevel()
{
    // Where the build takes zlib's fast level (report/zipfastlevel.cpp), every
    // part says "fast" (0b10); a library that stops reaching the hook gives
    // the default (0b00) and fails here. Other builds keep the default.
#ifdef LUMISK_ZIP_FAST_LEVEL
    const int expected = 0b10;
#else
    const int expected = 0b00;
#endif
    QFETCH(int, layout);
    QTemporaryDir dir;
    XlsxDocument document{XlsxDocument::Layout(layout)};
    QVERIFY(document.addSheet(QStringLiteral("data")));
    for (int row = 1; row <= 100; ++row)
        QVERIFY(document.write(row, 1, QStringLiteral("-12.%1").arg(row)));
    QVERIFY(document.saveAs(dir.path() + QStringLiteral("/book.xlsx")));
    const QList<int> flags = deflateLevelFlags(dir.path() + QStringLiteral("/book.xlsx"));
    QVERIFY(flags.size() >= 5);
    for (int flag : flags)
        QCOMPARE(flag, expected);
}

LUMISK_TEST(TestXlsxDocument)
#include "tst_xlsxdocument.moc"
