// Record times read whole on every table page at the window's opening size
// (1220 x 740 on a 1366 x 768 screen and on any larger one).

#include "app/mainwindow.h"
#include "records.h"
#include "testregistry.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

using namespace views_test;

class TestTableWidths : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void timesReadWholeAtOpeningSize_data();
    void timesReadWholeAtOpeningSize();
};

void TestTableWidths::initTestCase()
{
    // Never the user's own settings file.
    QStandardPaths::setTestModeEnabled(true);
}

void TestTableWidths::timesReadWholeAtOpeningSize_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("single-wave") << "opmTable";
    QTest::newRow("partial-wave") << "PartialOpmWaveTable";
    QTest::newRow("PON") << "ponOpmTable";
}

void TestTableWidths::timesReadWholeAtOpeningSize()
{
    QFETCH(QString, page);
    const QString time = QStringLiteral("24/12/28 23:58");

    // The application's own font, as main() sets it.
    const QFont previousFont = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Arial")));
    struct RestoreFont {
        QFont font;
        ~RestoreFont() { QApplication::setFont(font); }
    } restore{previousFont};

    MainWindow window;
    window.resize(1220, 740);
    QWidget *shown = window.findChild<QWidget *>(page);
    QVERIFY(shown);
    for (QWidget *other : shown->parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        other->hide();
    shown->show();

    if (auto *opm = qobject_cast<OpmForm *>(shown)) {
        OpmItemData record = opmRecord(1);
        record.time = time;
        opm->addItemData(record);
    } else if (auto *partial = qobject_cast<PartialOpmForm *>(shown)) {
        OpmItemData record = partialRecord(1, 1, 0);
        record.time = time;
        partial->addItemData(record);
    } else if (auto *pon = qobject_cast<PonOpmForm *>(shown)) {
        PonOpmItemData record = ponRecord(1, {powerInfo(0), powerInfo(1), powerInfo(2)});
        record.time = time;
        pon->addItemData(record);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(0);
    QCOMPARE(window.width(), 1220);

    auto *table = shown->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    QCOMPARE(table->item(0, 2)->text(), time);
    // A cell keeps a margin on either side of its text and gives one pixel
    // to the grid line.
    const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    const int needed = table->fontMetrics().horizontalAdvance(time) + 2 * margin + (table->showGrid() ? 1 : 0);
    QVERIFY2(table->columnWidth(2) >= needed,
             qPrintable(QStringLiteral("%1 px for %2 px of time").arg(table->columnWidth(2)).arg(needed)));
}

LUMISK_TEST(TestTableWidths)
#include "tst_tablewidths.moc"
