// The partial-wave page: one- and two-wavelength rows, their cell widgets,
// verdict icons and row colours.

#include "link/partialopmvalueframe.h"
#include "records.h"
#include "testregistry.h"
#include "views/partialopmform.h"
#include "views/partialopmwave.h"
#include "views/poweritem.h"
#include "widgets/doubleexcelitem.h"

#include <QHeaderView>
#include <QPointer>
#include <QTableWidget>
#include <QTest>

using namespace views_test;

class TestPartialOpmForm : public QObject
{
    Q_OBJECT
private slots:
    void frameKind();
    void oneWaveRow_data();
    void oneWaveRow();
    void twoWaveRow_data();
    void twoWaveRow();
    void rowColoursPerCellKind();
    void unusableReadingShowsHeadOnly();
    void pagingReleasesCellWidgets();
    void resizeModes();

private:
    static QTableWidget *table(QWidget &form) { return form.findChild<QTableWidget *>("tableWidget"); }
};

void TestPartialOpmForm::frameKind()
{
    PartialOpmForm form;
    QVERIFY(qobject_cast<PartialOpmValueFrame *>(form.frame()));
    QVERIFY(form.qt_metacast("BaseFormLogic"));
    QCOMPARE(form.nextItemNumber(), 1);
}

void TestPartialOpmForm::oneWaveRow_data()
{
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("style");
    QTest::newRow("pass") << 0 << "image: url(:/img/pass.png);";
    QTest::newRow("warning") << 1 << "image: url(:/img/warn.png);";
    QTest::newRow("fail") << 2 << "image: url(:/img/not_pass.png);";
    QTest::newRow("none") << 3 << "";
    QTest::newRow("undefined code") << 9 << "";
}

void TestPartialOpmForm::oneWaveRow()
{
    QFETCH(int, verdict);
    QFETCH(QString, style);
    PartialOpmForm form;
    form.addItemData(partialRecord(1, 1, verdict));
    QTableWidget *t = table(form);
    QCOMPARE(t->rowCount(), 1);
    QCOMPARE(t->item(0, 0)->text(), QStringLiteral("0001"));

    auto *wave = qobject_cast<PartialopmWave *>(t->cellWidget(0, 3));
    QVERIFY(wave);
    QCOMPARE(wave->powerLabel()->text(), QStringLiteral("1310"));
    QVERIFY(wave->powerLabel2()->isHidden());
    QVERIFY(wave->stateWidget2()->isHidden());
    if (style.isEmpty()) {
        QVERIFY(wave->stateWidget()->isHidden());
        QCOMPARE(wave->stateWidget()->size(), QSize(0, 0));
    } else {
        QVERIFY(!wave->stateWidget()->isHidden());
        QCOMPARE(wave->stateWidget()->styleSheet(), style);
        QCOMPARE(wave->stateWidget()->size(), QSize(14, 14));
    }

    auto *power = qobject_cast<PowerItem *>(t->cellWidget(0, 4));
    auto *watts = qobject_cast<PowerItem *>(t->cellWidget(0, 6));
    QVERIFY(power && watts);
    QCOMPARE(power->valueLabel()->text(), QStringLiteral("-12.50"));
    QCOMPARE(power->unitLabel()->text(), QStringLiteral("dBm"));
    QCOMPARE(watts->valueLabel()->text(), QStringLiteral("56.23"));
    QCOMPARE(watts->unitLabel()->text(), QStringLiteral("uW"));
    QVERIFY(!t->cellWidget(0, 5) && !t->cellWidget(0, 7));
    QCOMPARE(t->item(0, 5)->text(), QStringLiteral("-3.00"));
    QCOMPARE(t->item(0, 7)->text(), QStringLiteral("270"));
}

void TestPartialOpmForm::twoWaveRow_data()
{
    QTest::addColumn<int>("verdict2");
    QTest::addColumn<QSize>("size2");
    QTest::newRow("pass") << 0 << QSize(14, 14);
    QTest::newRow("warning is larger") << 1 << QSize(16, 16);
    QTest::newRow("fail") << 2 << QSize(14, 14);
    QTest::newRow("none") << 3 << QSize(0, 0);
}

void TestPartialOpmForm::twoWaveRow()
{
    QFETCH(int, verdict2);
    QFETCH(QSize, size2);
    PartialOpmForm form;
    form.addItemData(partialRecord(1, 2, 2, verdict2));
    QTableWidget *t = table(form);
    auto *wave = qobject_cast<PartialopmWave *>(t->cellWidget(0, 3));
    QVERIFY(wave);
    QCOMPARE(wave->powerLabel()->text(), QStringLiteral("1310"));
    QCOMPARE(wave->powerLabel2()->text(), QStringLiteral("1550"));
    QVERIFY(!wave->powerLabel2()->isHidden());
    QCOMPARE(wave->stateWidget()->styleSheet(), QStringLiteral("image: url(:/img/not_pass.png);"));
    QCOMPARE(wave->stateWidget2()->size(), size2);
    QCOMPARE(wave->stateWidget2()->isHidden(), verdict2 == 3);

    struct Expect {
        int column;
        QString v1, u1, v2, u2;
        bool units;
    };
    const Expect expected[] = {
        {4, "-12.50", "dBm", "-20.10", "dB", true},
        {5, "-3.00", "", "-4.00", "", false},
        {6, "56.23", "uW", "9.77", "nW", true},
        {7, "270", "", "1K", "", false},
    };
    for (const Expect &e : expected) {
        auto *item = qobject_cast<DoubleExcelItem *>(t->cellWidget(0, e.column));
        QVERIFY2(item, qPrintable(QString::number(e.column)));
        QCOMPARE(item->valueLabel1()->text(), e.v1);
        QCOMPARE(item->valueLabel2()->text(), e.v2);
        QCOMPARE(item->unitLabel1()->isHidden(), !e.units);
        QCOMPARE(item->unitLabel2()->isHidden(), !e.units);
        if (e.units) {
            QCOMPARE(item->unitLabel1()->text(), e.u1);
            QCOMPARE(item->unitLabel2()->text(), e.u2);
        }
    }
}

void TestPartialOpmForm::rowColoursPerCellKind()
{
    PartialOpmForm form;
    form.addItemData(partialRecord(1, 1, 0));
    form.addItemData(partialRecord(2, 1, 0));
    form.addItemData(partialRecord(3, 2, 0, 0));
    form.addItemData(partialRecord(4, 2, 0, 0));
    QTableWidget *t = table(form);
    const QColor odd(242, 242, 239);
    const QString cellOdd = "background-color: rgb(242, 242, 239);color: rgb(153, 153, 153);";
    const QString cellEven = "background-color: White;color: rgb(153, 153, 153);";

    for (int row = 0; row < 4; ++row) {
        const bool isOdd = row % 2;
        const QColor text = isOdd ? odd : QColor(Qt::white);
        for (int column : {0, 1, 2})
            QCOMPARE(t->item(row, column)->background().color(), text);
        QCOMPARE(t->cellWidget(row, 3)->styleSheet(), isOdd ? cellOdd : cellEven);
        if (row < 2) {
            QCOMPARE(t->item(row, 5)->background().color(), text);
            QCOMPARE(t->item(row, 7)->background().color(), text);
            auto *power = qobject_cast<PowerItem *>(t->cellWidget(row, 4));
            QCOMPARE(power->backgroundWidget()->styleSheet(),
                     isOdd ? QStringLiteral("background-color: rgb(242, 242, 239);")
                           : QStringLiteral("background-color: White;"));
        } else {
            for (int column = 4; column <= 7; ++column)
                QCOMPARE(t->cellWidget(row, column)->styleSheet(), isOdd ? cellOdd : cellEven);
        }
    }
}

void TestPartialOpmForm::unusableReadingShowsHeadOnly()
{
    PartialOpmForm form;
    OpmItemData none = opmRecord(1, 0);
    form.addItemData(none);
    form.addItemData(partialRecord(2, 3, 0));
    form.addItemData(partialRecord(3, 0, 0));
    QTableWidget *t = table(form);
    QCOMPARE(t->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(t->item(row, 0)->text(), QString::number(row + 1).rightJustified(4, QLatin1Char('0')));
        for (int column = 3; column < 8; ++column) {
            QVERIFY(!t->cellWidget(row, column));
            QVERIFY(!t->item(row, column));
        }
    }
    QCOMPARE(form.itemCount(), 3);
}

void TestPartialOpmForm::pagingReleasesCellWidgets()
{
    PartialOpmForm form;
    for (int i = 1; i <= 130; ++i)
        form.addItemData(partialRecord(i, i % 2 ? 1 : 2, 0, 1));
    QPointer<QWidget> first = table(form)->cellWidget(0, 3);
    QPointer<QWidget> last = table(form)->cellWidget(99, 7);
    QVERIFY(first && last);
    form.gotoPage(2);
    QVERIFY(!first);
    QVERIFY(!last);
    QCOMPARE(table(form)->rowCount(), 30);
    QVERIFY(qobject_cast<DoubleExcelItem *>(table(form)->cellWidget(1, 4)));
    QPointer<QWidget> onPage2 = table(form)->cellWidget(0, 3);
    form.clearDatas();
    QVERIFY(!onPage2);
    QCOMPARE(table(form)->rowCount(), 0);
}

void TestPartialOpmForm::resizeModes()
{
    PartialOpmForm form;
    form.show();
    QHeaderView *header = table(form)->horizontalHeader();
    form.resize(799, 400);
    QTest::qWait(0);
    for (int column = 0; column < 8; ++column)
        QCOMPARE(header->sectionResizeMode(column),
                 column == 4 || column == 6 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    form.resize(800, 400);
    QTest::qWait(0);
    for (int column = 0; column < 8; ++column)
        QCOMPARE(header->sectionResizeMode(column),
                 column == 2 ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
}

LUMISK_TEST(TestPartialOpmForm)
#include "tst_partialopmform.moc"
