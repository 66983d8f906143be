// How a CSV field is written so that a spreadsheet keeps it as data: a text
// that starts like a formula gets a leading apostrophe, a number stays a
// number, whichever it looks like.

#include "report/csvwriter.h"
#include "testregistry.h"

#include <QTest>

class TestCsvWriter : public QObject
{
    Q_OBJECT
private slots:
    void cell_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("textColumn"); // false: a column of values
        QTest::addColumn<QString>("written");
        QTest::newRow("formula") << "=1+1" << true << "'=1+1";
        QTest::newRow("at sign") << "@SUM(1+1)" << true << "'@SUM(1+1)";
        QTest::newRow("plus") << "+1+2" << true << "'+1+2";
        QTest::newRow("a name that reads as a number") << "-12.5" << true << "'-12.5";
        QTest::newRow("tab") << "\tcmd" << true << "'\tcmd";
        QTest::newRow("carriage return") << "\r=1" << true << "'\r=1";
        QTest::newRow("equals sign later") << "A1=B1" << true << "A1=B1";
        QTest::newRow("empty") << "" << true << "";
        QTest::newRow("negative value") << "-12.5" << false << "-12.5";
        QTest::newRow("value with exponent") << "-5.89e-05" << false << "-5.89e-05";
        QTest::newRow("word for a value") << "High" << false << "High";
        QTest::newRow("no value") << "---" << false << "'---";
        QTest::newRow("formula among values") << "-1+2" << false << "'-1+2";
        QTest::newRow("number, then more") << "-1\n=2" << false << "'-1\n=2";
    }
    void cell()
    {
        QFETCH(QString, text);
        QFETCH(bool, textColumn);
        QFETCH(QString, written);
        QCOMPARE(CsvWriter::cell(text, textColumn ? CsvWriter::Column::Text : CsvWriter::Column::Value), written);
    }
};

LUMISK_TEST(TestCsvWriter)
#include "tst_csvwriter.moc"
