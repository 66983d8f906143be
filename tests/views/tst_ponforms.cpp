// The PON table page and the XG-PON card page: where each reading goes, the
// texts and icons it shows, colours, and paging of the cell widgets.

#include "link/ponframe.h"
#include "records.h"
#include "testregistry.h"
#include "views/ponopmform.h"
#include "views/ponsinglewaveitem.h"
#include "views/xgponform.h"
#include "views/xgponitem.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPointer>
#include <QTableWidget>
#include <QTest>

using namespace views_test;

class TestPonForms : public QObject
{
    Q_OBJECT
private slots:
    void ponColumns_data();
    void ponColumns();
    void ponCellTexts_data();
    void ponCellTexts();
    void ponColours();
    void ponPagingReleasesCellWidgets();
    void ponResizeModes();
    void xgReadings();
    void xgVerdicts_data();
    void xgVerdicts();
    void xgPagingReplacesCards();

private:
    static QTableWidget *table(QWidget &form) { return form.findChild<QTableWidget *>("tableWidget"); }
    static QListWidget *list(QWidget &form) { return form.findChild<QListWidget *>("listWidget"); }
};

void TestPonForms::ponColumns_data()
{
    QTest::addColumn<QList<int>>("typeCodes");
    QTest::addColumn<QList<bool>>("hasWidget");
    QTest::newRow("all three") << QList<int>{0, 1, 2} << QList<bool>{true, true, true};
    QTest::newRow("only 1490") << QList<int>{1} << QList<bool>{false, true, false};
    QTest::newRow("no readings") << QList<int>{} << QList<bool>{false, false, false};
    QTest::newRow("out of order") << QList<int>{2, 0} << QList<bool>{true, false, true};
    QTest::newRow("unknown type codes") << QList<int>{3, -1, 1, 200} << QList<bool>{false, true, false};
}

void TestPonForms::ponColumns()
{
    QFETCH(QList<int>, typeCodes);
    QFETCH(QList<bool>, hasWidget);
    PonOpmForm form;
    QVERIFY(qobject_cast<PonFrame *>(form.frame()));
    QVERIFY(form.qt_metacast("BaseFormLogic"));
    QList<PowerInfo> infos;
    for (int code : typeCodes)
        infos << powerInfo(code);
    form.addItemData(ponRecord(1, infos));
    QTableWidget *t = table(form);
    QCOMPARE(t->rowCount(), 1);
    QCOMPARE(t->rowHeight(0), 35);
    QCOMPARE(t->item(0, 1)->text(), QStringLiteral("Port1"));
    for (int i = 0; i < 3; ++i) {
        const int column = 3 + i;
        if (hasWidget.at(i)) {
            auto *item = qobject_cast<PonSingleWaveItem *>(t->cellWidget(0, column));
            QVERIFY(item);
            QCOMPARE(item->powerLabel()->text(), QStringLiteral("-18.3%1dBm").arg(i));
        } else {
            QVERIFY(!t->cellWidget(0, column));
            QCOMPARE(t->item(0, column)->text(), QStringLiteral("---"));
        }
    }
}

void TestPonForms::ponCellTexts_data()
{
    QTest::addColumn<bool>("showPower");
    QTest::addColumn<bool>("isRelative");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("ref");
    QTest::addColumn<QString>("icon");

    QTest::newRow("relative in range") << true << true << true << 0 << "-18.30dBm" << "REF: -2.00dBm"
                                       << "image: url(:/img/pass.png);";
    QTest::newRow("absolute") << true << false << true << 1 << "-18.30dBm" << "REF: ---"
                              << "image: url(:/img/warn.png);";
    QTest::newRow("out of range") << true << true << false << 2 << "-18.30dBm" << "REF: ---"
                                  << "image: url(:/img/not_pass.png);";
    QTest::newRow("watts instead of power") << false << true << true << 5 << "14.79uW" << "REF: -2.00dBm" << "";
}

void TestPonForms::ponCellTexts()
{
    QFETCH(bool, showPower);
    QFETCH(bool, isRelative);
    QFETCH(bool, inRange);
    QFETCH(int, verdict);
    QFETCH(QString, power);
    QFETCH(QString, ref);
    QFETCH(QString, icon);
    PowerInfo info = powerInfo(0, verdict);
    info.power = QStringLiteral("-18.30");
    info.showPower = showPower;
    info.isRelative = isRelative;
    info.inRange = inRange;
    PonOpmForm form;
    form.addItemData(ponRecord(1, {info}));
    auto *item = qobject_cast<PonSingleWaveItem *>(table(form)->cellWidget(0, 3));
    QVERIFY(item);
    QCOMPARE(item->powerLabel()->text(), power);
    QCOMPARE(item->refLabel()->text(), ref);
    QCOMPARE(item->stateWidget()->styleSheet(), icon);
}

void TestPonForms::ponColours()
{
    PonOpmForm form;
    form.addItemData(ponRecord(1, {powerInfo(0)}));
    form.addItemData(ponRecord(2, {powerInfo(0)}));
    QTableWidget *t = table(form);
    for (int row = 0; row < 2; ++row) {
        const QColor expected = row ? QColor(242, 242, 239) : QColor(Qt::white);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(t->item(row, column)->background().color(), expected);
        auto *item = qobject_cast<PonSingleWaveItem *>(t->cellWidget(row, 3));
        QCOMPARE(item->backgroundWidget()->styleSheet(),
                 row ? QStringLiteral("background-color: rgb(242, 242, 239);")
                     : QStringLiteral("background-color: White;"));
    }
}

void TestPonForms::ponPagingReleasesCellWidgets()
{
    PonOpmForm form;
    for (int i = 1; i <= 120; ++i)
        form.addItemData(ponRecord(i, {powerInfo(0), powerInfo(1), powerInfo(2)}));
    QTableWidget *t = table(form);
    QCOMPARE(t->rowCount(), 100);
    QPointer<QWidget> old = t->cellWidget(50, 4);
    QVERIFY(old);
    form.gotoPage(2);
    QVERIFY(!old);
    QCOMPARE(t->rowCount(), 20);
    QCOMPARE(t->item(0, 0)->text(), QStringLiteral("0101"));
    QCOMPARE(t->horizontalHeaderItem(3)->text(), QStringLiteral("ONT(1310nm)"));

    // A repeated type code replaces the earlier widget of that column.
    form.clearDatas();
    QCOMPARE(t->rowCount(), 0);
    PowerInfo second = powerInfo(1);
    second.power = QStringLiteral("-1.00");
    form.addItemData(ponRecord(1, {powerInfo(1), second}));
    QCOMPARE(qobject_cast<PonSingleWaveItem *>(t->cellWidget(0, 4))->powerLabel()->text(),
             QStringLiteral("-1.00dBm"));
}

void TestPonForms::ponResizeModes()
{
    PonOpmForm form;
    form.show();
    QHeaderView *header = table(form)->horizontalHeader();
    form.resize(640, 400);
    QTest::qWait(0);
    for (int column = 0; column < 6; ++column)
        QCOMPARE(header->sectionResizeMode(column),
                 column == 2 ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
    form.resize(639, 400);
    QTest::qWait(0);
    for (int column = 0; column < 6; ++column)
        QCOMPARE(header->sectionResizeMode(column),
                 column < 3 ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
}

void TestPonForms::xgReadings()
{
    XGPonForm form;
    QVERIFY(qobject_cast<PonFrame *>(form.frame()));
    QVERIFY(form.qt_metacast("BaseFormLogic"));
    QCOMPARE(form.nextItemNumber(), 1);
    QList<PowerInfo> infos;
    for (int i = 0; i < 7; ++i) {
        PowerInfo info = powerInfo(i);
        info.wavelength = QString::number(1270 + i);
        // The card shows texts as they come, whatever the range.
        info.power = i == 1 ? QStringLiteral("Low") : QStringLiteral("-9.%1").arg(i);
        info.inRange = i != 1;
        infos << info;
    }
    form.addItemData(ponRecord(1, infos.mid(0, 3)));
    form.addItemData(ponRecord(2, infos));
    QWidget *three = list(form)->itemWidget(list(form)->item(0));
    QVERIFY(qobject_cast<XGPonItem *>(three));
    QCOMPARE(labelText(three, "numLabel"), QStringLiteral("0001"));
    QCOMPARE(labelText(three, "waveLabel2"), QStringLiteral("1271"));
    QCOMPARE(labelText(three, "powerLgLabel2"), QStringLiteral("Low"));
    QCOMPARE(labelText(three, "lgUnitLabel1"), QStringLiteral("dBm"));
    QCOMPARE(labelText(three, "powerWLabel3"), QStringLiteral("14.79"));
    QCOMPARE(labelText(three, "wUnitLabel3"), QStringLiteral("uW"));
    QCOMPARE(labelText(three, "refLabel3"), QStringLiteral("-2.00"));
    for (int column : {4, 5})
        for (const char *base : {"waveLabel", "powerLgLabel", "lgUnitLabel", "powerWLabel", "wUnitLabel", "refLabel"})
            QCOMPARE(labelText(three, QLatin1String(base) + QString::number(column)), QStringLiteral(" "));

    QWidget *seven = list(form)->itemWidget(list(form)->item(1));
    QCOMPARE(labelText(seven, "waveLabel5"), QStringLiteral("1274"));
    QCOMPARE(list(form)->item(0)->background().color(), QColor(Qt::white));
    QCOMPARE(list(form)->item(1)->background().color(), QColor(242, 242, 239));
}

void TestPonForms::xgVerdicts_data()
{
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("style");
    QTest::newRow("pass") << 0 << "image: url(:/img/pass.png);";
    QTest::newRow("warning") << 1 << "image: url(:/img/warn.png);";
    QTest::newRow("fail") << 2 << "image: url(:/img/not_pass.png);";
    QTest::newRow("undefined keeps the designer look") << 7 << "";
}

void TestPonForms::xgVerdicts()
{
    QFETCH(int, verdict);
    QFETCH(QString, style);
    XGPonForm form;
    form.addItemData(ponRecord(1, {powerInfo(0, 0), powerInfo(1, verdict)}));
    QWidget *card = list(form)->itemWidget(list(form)->item(0));
    QCOMPARE(card->findChild<QWidget *>("stateWidget2")->styleSheet(), style);
    QCOMPARE(card->findChild<QWidget *>("stateWidget3")->styleSheet(), QString());
}

void TestPonForms::xgPagingReplacesCards()
{
    XGPonForm form;
    for (int i = 1; i <= 250; ++i)
        form.addItemData(ponRecord(i, {powerInfo(0)}));
    QCOMPARE(form.itemCount(), 250);
    QCOMPARE(list(form)->count(), 100);
    QPointer<QWidget> old = list(form)->itemWidget(list(form)->item(10));
    form.gotoPage(3);
    QVERIFY(!old);
    QCOMPARE(list(form)->count(), 50);
    QCOMPARE(labelText(list(form)->itemWidget(list(form)->item(0)), "numLabel"), QStringLiteral("0201"));
    QPointer<QWidget> page3 = list(form)->itemWidget(list(form)->item(0));
    form.clearDatas();
    QVERIFY(!page3);
    QCOMPARE(list(form)->count(), 0);
}

LUMISK_TEST(TestPonForms)
#include "tst_ponforms.moc"
