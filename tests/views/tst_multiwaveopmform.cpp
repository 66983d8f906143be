// The multi-wave page: card columns, the Low/High level rules, card colours
// and paging of the card list.

#include "link/opmvalueframe.h"
#include "records.h"
#include "testregistry.h"
#include "views/multiwaveopmform.h"
#include "views/multiwaveopmitem.h"

#include <QListWidget>
#include <QPointer>
#include <QTest>

using namespace views_test;

class TestMultiWaveOpmForm : public QObject
{
    Q_OBJECT
private slots:
    void nextItemNumberCountsStoredRecords();
    void columnsFollowReadings();
    void levels_data();
    void levels();
    void cardColours();
    void code17CardTakesNoHeight();
    void pagingReplacesCards();

private:
    static QListWidget *list(QWidget &form) { return form.findChild<QListWidget *>("listWidget"); }
    static QWidget *card(QWidget &form, int i) { return list(form)->itemWidget(list(form)->item(i)); }
};

void TestMultiWaveOpmForm::nextItemNumberCountsStoredRecords()
{
    MultiWaveOpmForm form;
    QVERIFY(qobject_cast<OpmValueFrame *>(form.frame()));
    QVERIFY(form.qt_metacast("BaseFormLogic"));
    QCOMPARE(form.nextItemNumber(), 0);
    form.addItemData(opmRecord(1, 3));
    QCOMPARE(form.nextItemNumber(), 1);
}

void TestMultiWaveOpmForm::columnsFollowReadings()
{
    MultiWaveOpmForm form;
    OpmItemData two = opmRecord(5, 2);
    OpmItemData seven = opmRecord(6, 7);
    form.addItemData(two);
    form.addItemData(seven);
    QWidget *c = card(form, 0);
    QVERIFY(qobject_cast<MultiWaveOpmItem *>(c));
    QCOMPARE(labelText(c, "numLabel"), QStringLiteral("0005"));
    QCOMPARE(labelText(c, "nameLabel"), QStringLiteral("Fiber5"));
    QCOMPARE(labelText(c, "dateTimeLabel"), two.time);
    QCOMPARE(labelText(c, "waveLabel1"), QStringLiteral("1310"));
    QCOMPARE(labelText(c, "waveLabel2"), QStringLiteral("1490"));
    for (int column = 1; column <= 5; ++column) {
        for (const char *base : {"waveLabel", "powerLgLabel", "powerWLabel", "freqLabel", "refLabel"}) {
            auto *label = c->findChild<QLabel *>(QLatin1String(base) + QString::number(column));
            QVERIFY(label);
            // The frequency label never shows; the others only for readings.
            const bool hidden = column > 2 || QLatin1String(base) == QLatin1String("freqLabel");
            QCOMPARE(label->isHidden(), hidden);
        }
    }
    // Only five readings fit on a card.
    QWidget *full = card(form, 1);
    QCOMPARE(labelText(full, "waveLabel5"), QStringLiteral("850"));
    QCOMPARE(labelText(full, "powerLgLabel5"), QStringLiteral("-14.25dBm"));
    QVERIFY(!full->findChild<QLabel *>("waveLabel5")->isHidden());
}

void TestMultiWaveOpmForm::levels_data()
{
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("watts");
    QTest::addColumn<QString>("shownPower");
    QTest::addColumn<QString>("shownWatts");
    QTest::addColumn<QString>("shownReference");
    QTest::addColumn<QString>("shownFrequency");

    QTest::newRow("absolute dBm") << "-10.00" << "---" << "100.0" << "-10.00dBm" << "100.0uW" << "---" << "CW";
    QTest::newRow("relative dB") << "-10.00" << "-3.00" << "100.0" << "-10.00dB" << "100.0uW" << "-3.00" << "CW";
    QTest::newRow("sum is low") << "-75.00" << "-5.00" << "0.03" << "Low" << "---" << "---" << "---";
    QTest::newRow("just above low") << "-74.00" << "-5.00" << "0.04" << "-74.00dB" << "0.04uW" << "-5.00" << "CW";
    QTest::newRow("49.9 single precision is high") << "49.9" << "---" << "97.7" << "High" << "---" << "---" << "---";
    QTest::newRow("49.89 keeps its unit") << "49.89" << "---" << "97.5" << "49.89dBm" << "97.5uW" << "---" << "CW";
    QTest::newRow("meter says High") << "High" << "---" << "---" << "High" << "---" << "---" << "CW";
    QTest::newRow("meter says Low, reference counts") << "Low" << "-80.00" << "5.0" << "Low" << "---" << "---" << "---";
    QTest::newRow("lowercase is no keyword") << "low" << "---" << "1.0" << "lowdBm" << "1.0uW" << "---" << "CW";
    QTest::newRow("watts absent") << "-10.00" << "---" << "---" << "-10.00dBm" << "---" << "---" << "CW";
}

void TestMultiWaveOpmForm::levels()
{
    QFETCH(QString, power);
    QFETCH(QString, reference);
    QFETCH(QString, watts);
    QFETCH(QString, shownPower);
    QFETCH(QString, shownWatts);
    QFETCH(QString, shownReference);
    QFETCH(QString, shownFrequency);

    MultiWaveOpmForm form;
    OpmItemData record = opmRecord(1, 0);
    record.singleWaveOpmDatas << wave("1550", power, reference, watts, "CW");
    form.addItemData(record);
    QWidget *c = card(form, 0);
    QCOMPARE(labelText(c, "waveLabel1"), QStringLiteral("1550"));
    QCOMPARE(labelText(c, "powerLgLabel1"), shownPower);
    QCOMPARE(labelText(c, "powerWLabel1"), shownWatts);
    QCOMPARE(labelText(c, "refLabel1"), shownReference);
    QCOMPARE(labelText(c, "freqLabel1"), shownFrequency);
}

void TestMultiWaveOpmForm::cardColours()
{
    MultiWaveOpmForm form;
    for (int i = 1; i <= 3; ++i)
        form.addItemData(opmRecord(i, 2));
    QCOMPARE(list(form)->item(0)->background().color(), QColor(Qt::white));
    QCOMPARE(list(form)->item(1)->background().color(), QColor(242, 242, 239));
    QCOMPARE(list(form)->item(2)->background().color(), QColor(Qt::white));
    QVERIFY(list(form)->item(0)->sizeHint().height() > 0);
}

void TestMultiWaveOpmForm::code17CardTakesNoHeight()
{
    MultiWaveOpmForm form;
    auto *frame = qobject_cast<OpmValueFrame *>(form.frame());
    frame->itemData = opmRecord(1, 2);
    frame->isCode17 = true;
    form.fillDatas();
    QCOMPARE(list(form)->item(0)->sizeHint().height(), 0);
    QCOMPARE(form.itemCount(), 1);
    // The next record comes in a fresh frame and gets its full height.
    auto *next = qobject_cast<OpmValueFrame *>(form.frame());
    next->itemData = opmRecord(2, 2);
    form.fillDatas();
    QVERIFY(list(form)->item(1)->sizeHint().height() > 0);

    // A 0x17 answer that was dropped leaves its mark on the page's frame:
    // neither a record added now nor a redrawn page collapses a card.
    qobject_cast<OpmValueFrame *>(form.frame())->isCode17 = true;
    for (int i = 3; i <= 101; ++i)
        form.addItemData(opmRecord(i, 2));
    QVERIFY(list(form)->item(2)->sizeHint().height() > 0);
    form.gotoPage(2);
    form.gotoPage(1);
    QCOMPARE(list(form)->count(), 100);
    for (int i = 0; i < 100; ++i)
        QVERIFY2(list(form)->item(i)->sizeHint().height() > 0, qPrintable(QString::number(i)));
}

void TestMultiWaveOpmForm::pagingReplacesCards()
{
    MultiWaveOpmForm form;
    for (int i = 1; i <= 101; ++i)
        form.addItemData(opmRecord(i, 2));
    QCOMPARE(list(form)->count(), 100);
    QPointer<QWidget> first = card(form, 0);
    form.gotoPage(2);
    QVERIFY(!first);
    QCOMPARE(list(form)->count(), 1);
    QCOMPARE(labelText(card(form, 0), "numLabel"), QStringLiteral("0101"));
    QCOMPARE(list(form)->item(0)->background().color(), QColor(Qt::white));
    form.gotoPage(1);
    QCOMPARE(list(form)->count(), 100);
    QPointer<QWidget> again = card(form, 99);
    form.clearDatas();
    QVERIFY(!again);
    QCOMPARE(list(form)->count(), 0);
    QCOMPARE(form.nextItemNumber(), 0);
}

LUMISK_TEST(TestMultiWaveOpmForm)
#include "tst_multiwaveopmform.moc"
