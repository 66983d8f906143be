// The single-wave page: paging of the table, row drawing and colours,
// column resizing, and saving through the report writer.

#include "link/opmvalueframe.h"
#include "records.h"
#include "testregistry.h"
#include "testsupport.h"
#include "views/opmform.h"
#include "widgets/pagewidget.h"

#include <QDir>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace views_test;

namespace {
const QColor Odd(242, 242, 239);
const QColor Even(Qt::white);
}

class TestOpmForm : public QObject
{
    Q_OBJECT
private slots:
    void downloadBeyondFirstPage();
    void gotoPageShowsExactlyThatPage();
    void gotoCurrentPageDoesNotRedraw();
    void newPageWhileBrowsingKeepsShownPage();
    void rowWithoutReadingIsHiddenAndKeepsParity();
    void rowTextsAndColours();
    void fillDatasTakesTheFrameRecord();
    void clearDatas();
    void nextItemNumber();
    void resizeModes_data();
    void resizeModes();
    void saveWithoutData();
    void saveWritesEveryRecord();
    void saveIntoMissingDirectoryFails();

private:
    static QTableWidget *table(OpmForm &form) { return form.findChild<QTableWidget *>("tableWidget"); }
    static PageWidget *navigator(QWidget &form) { return form.findChild<PageWidget *>("pageWidget"); }
};

void TestOpmForm::downloadBeyondFirstPage()
{
    OpmForm form;
    form.show();
    QSignalSpy spy(&form.items, &Agent::pageCountChanged);
    for (int i = 1; i <= 100; ++i)
        form.addItemData(opmRecord(i));
    QCOMPARE(table(form)->rowCount(), 100);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!navigator(form)->isVisible());

    form.addItemData(opmRecord(101));
    QCOMPARE(form.itemCount(), 101);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toInt(), 2);
    // The 101st is stored, not drawn: page 1 stays on screen.
    QCOMPARE(table(form)->rowCount(), 100);
    QCOMPARE(table(form)->item(99, 0)->text(), QStringLiteral("0100"));
    QCOMPARE(form.currentPage(), 1);
    QVERIFY(navigator(form)->isVisible());
    QCOMPARE(navigator(form)->getPageCount(), 2);
}

void TestOpmForm::gotoPageShowsExactlyThatPage()
{
    OpmForm form;
    for (int i = 1; i <= 150; ++i)
        form.addItemData(opmRecord(i));
    QCOMPARE(table(form)->rowCount(), 100);

    form.gotoPage(2);
    QCOMPARE(form.currentPage(), 2);
    QCOMPARE(table(form)->rowCount(), 50);
    QCOMPARE(table(form)->item(0, 0)->text(), QStringLiteral("0101"));
    QCOMPARE(table(form)->item(49, 0)->text(), QStringLiteral("0150"));
    QCOMPARE(table(form)->horizontalHeaderItem(7)->text(), QStringLiteral("Freq.(Hz)"));
    QCOMPARE(table(form)->item(0, 0)->background().color(), Even);

    form.gotoPage(1);
    QCOMPARE(table(form)->rowCount(), 100);
    QCOMPARE(table(form)->item(0, 0)->text(), QStringLiteral("0001"));

    // Pages that do not exist are ignored.
    for (int page : {3, 0, -1}) {
        form.gotoPage(page);
        QCOMPARE(form.currentPage(), 1);
        QCOMPARE(table(form)->rowCount(), 100);
    }

    // The navigator drives the page through its signal.
    emit navigator(form)->gotoPage(2);
    QCOMPARE(table(form)->rowCount(), 50);
}

void TestOpmForm::gotoCurrentPageDoesNotRedraw()
{
    OpmForm form;
    for (int i = 1; i <= 120; ++i)
        form.addItemData(opmRecord(i));
    table(form)->item(0, 1)->setText(QStringLiteral("marker"));
    form.gotoPage(1);
    QCOMPARE(table(form)->item(0, 1)->text(), QStringLiteral("marker"));
}

void TestOpmForm::newPageWhileBrowsingKeepsShownPage()
{
    OpmForm form;
    for (int i = 1; i <= 150; ++i)
        form.addItemData(opmRecord(i));
    form.gotoPage(2);
    // Records landing on the page shown are drawn as they come.
    for (int i = 151; i <= 200; ++i)
        form.addItemData(opmRecord(i));
    QCOMPARE(table(form)->rowCount(), 100);
    QCOMPARE(table(form)->item(99, 0)->text(), QStringLiteral("0200"));

    // A third page must not make the store forget which page is on screen,
    // or going back to page 1 would be ignored.
    form.addItemData(opmRecord(201));
    QCOMPARE(form.currentPage(), 2);
    QCOMPARE(table(form)->rowCount(), 100);
    form.gotoPage(1);
    QCOMPARE(table(form)->item(0, 0)->text(), QStringLiteral("0001"));
}

void TestOpmForm::rowWithoutReadingIsHiddenAndKeepsParity()
{
    OpmForm form;
    form.show();
    form.addItemData(opmRecord(1));
    form.addItemData(opmRecord(2, 0));
    form.addItemData(opmRecord(3));
    form.addItemData(opmRecord(4));
    QTableWidget *t = table(form);
    QCOMPARE(t->rowCount(), 4);
    QVERIFY(t->isRowHidden(1));
    QVERIFY(!t->isRowHidden(2));
    QCOMPARE(t->item(2, 0)->text(), QStringLiteral("0003"));
    QCOMPARE(t->item(2, 0)->background().color(), Even);
    QCOMPARE(t->item(3, 0)->background().color(), Odd);

    // After paging away and back a visible record never inherits the hidden
    // state of the row that stood at its index.
    for (int i = 5; i <= 101; ++i)
        form.addItemData(opmRecord(i, i == 101 ? 0 : 1));
    form.gotoPage(2);
    QVERIFY(t->isRowHidden(0));
    QCOMPARE(t->horizontalHeaderItem(0)->text(), QStringLiteral("No."));
    form.gotoPage(1);
    QVERIFY(!t->isRowHidden(0));
    QVERIFY(t->isRowHidden(1));
}

void TestOpmForm::rowTextsAndColours()
{
    OpmForm form;
    OpmItemData record = opmRecord(7);
    record.singleWaveOpmDatas[0] = wave("1550", "-7.31", "-2.00", "185.4", "2K", "dB", "uW");
    record.singleWaveOpmDatas << wave("1310", "-1.00", "---");
    form.addItemData(opmRecord(6));
    form.addItemData(record);
    QTableWidget *t = table(form);
    const QStringList expected{"0007", "Fiber7", record.time, "1550", "-7.31dB", "-2.00", "185.4uW", "2K"};
    for (int column = 0; column < 8; ++column) {
        QCOMPARE(t->item(1, column)->text(), expected.at(column));
        QCOMPARE(t->item(1, column)->background().color(), Odd);
        QCOMPARE(t->item(0, column)->background().color(), Even);
        QCOMPARE(int(t->item(1, column)->textAlignment()), int(Qt::AlignCenter));
    }
}

void TestOpmForm::fillDatasTakesTheFrameRecord()
{
    OpmForm form;
    auto *frame = qobject_cast<OpmValueFrame *>(form.frame());
    QVERIFY(frame);
    frame->itemData = opmRecord(42);
    form.fillDatas();
    QCOMPARE(form.itemCount(), 1);
    QCOMPARE(table(form)->item(0, 0)->text(), QStringLiteral("0042"));
    auto *fresh = qobject_cast<OpmValueFrame *>(form.frame());
    QVERIFY(fresh);
    QVERIFY(fresh->itemData.number.isEmpty());
}

void TestOpmForm::clearDatas()
{
    OpmForm form;
    QSignalSpy spy(&form.items, &Agent::pageCountChanged);
    form.clearDatas();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);
    QCOMPARE(table(form)->rowCount(), 0);
    QCOMPARE(navigator(form)->getCurrentPage(), 1);

    for (int i = 1; i <= 230; ++i)
        form.addItemData(opmRecord(i));
    emit navigator(form)->gotoPage(3);
    form.clearDatas();
    QCOMPARE(form.itemCount(), 0);
    QCOMPARE(form.currentPage(), 0);
    QCOMPARE(table(form)->rowCount(), 0);
    QCOMPARE(navigator(form)->getCurrentPage(), 1);
    QVERIFY(navigator(form)->isHidden());

    form.addItemData(opmRecord(1));
    QCOMPARE(table(form)->rowCount(), 1);
    QCOMPARE(form.currentPage(), 1);
}

void TestOpmForm::nextItemNumber()
{
    OpmForm form;
    QCOMPARE(form.nextItemNumber(), 1);
    form.addItemData(opmRecord(1));
    form.addItemData(opmRecord(2));
    QCOMPARE(form.nextItemNumber(), 3);
}

void TestOpmForm::resizeModes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("narrow");
    QTest::newRow("799") << 799 << true;
    QTest::newRow("800") << 800 << false;
}

void TestOpmForm::resizeModes()
{
    QFETCH(int, width);
    QFETCH(bool, narrow);
    OpmForm form;
    form.show();
    form.resize(narrow ? 1000 : 600, 400);
    QTest::qWait(0);
    form.resize(width, 400);
    QTest::qWait(0);
    QHeaderView *header = table(form)->horizontalHeader();
    for (int column = 0; column < 8; ++column) {
        // The time column always fits its times.
        const bool fits = column == 2 || (narrow && (column == 3 || column == 5 || column == 6 || column == 7));
        QCOMPARE(header->sectionResizeMode(column), fits ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
    }
}

void TestOpmForm::saveWithoutData()
{
    OpmForm form;
    form.addItemData(opmRecord(1));
    form.clearDatas();
    QTemporaryDir dir;
    QString shown;
    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    form.saveDatas(dir.path());
    QCOMPARE(shown, QStringLiteral("Save Fail,No Data!"));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestOpmForm::saveWritesEveryRecord()
{
    OpmForm form;
    for (int i = 1; i <= 150; ++i)
        form.addItemData(opmRecord(i));
    QTemporaryDir dir;
    QString shown;
    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    form.saveDatas(dir.path());
    QCOMPARE(shown, QStringLiteral("Report exported"));
    const QStringList files = QDir(dir.path()).entryList({"*.xlsx"}, QDir::Files);
    QCOMPARE(files.size(), 1);

    QString output;
    QCOMPARE(testsupport::runPython(QStringLiteral("report/dump_xlsx.py"), {dir.filePath(files.first())}, &output), 0);
    QVERIFY(output.contains(QStringLiteral("Fiber150")));
    QVERIFY(output.contains(QStringLiteral("Fiber1\"")));
    QCOMPARE(form.itemCount(), 150);
}

void TestOpmForm::saveIntoMissingDirectoryFails()
{
    OpmForm form;
    form.addItemData(opmRecord(1));
    QTemporaryDir dir;
    QString shown;
    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    form.saveDatas(dir.filePath(QStringLiteral("missing/deeper")));
    QCOMPARE(shown, QStringLiteral("Failed to export report"));
    QCOMPARE(form.itemCount(), 1);

    // No directory chosen: nothing is written and nothing is said.
    form.saveDatas(QString());
    QVERIFY(testsupport::noModalFor(400));
}

LUMISK_TEST(TestOpmForm)
#include "tst_opmform.moc"
