// The two-value cell of a two-wavelength row: the first wavelength's value
// stands above the second's, each with its unit to its right, so that the
// two readings are never read crosswise.

#include "testregistry.h"

#include "widgets/doubleexcelitem.h"

#include <QLabel>
#include <QTest>

class TestDoubleExcelItem : public QObject
{
    Q_OBJECT

private slots:
    void firstWaveAboveSecond();
};

void TestDoubleExcelItem::firstWaveAboveSecond()
{
    DoubleExcelItem item;
    item.valueLabel1()->setText(QStringLiteral("-12.50"));
    item.unitLabel1()->setText(QStringLiteral("dBm"));
    item.valueLabel2()->setText(QStringLiteral("-20.10"));
    item.unitLabel2()->setText(QStringLiteral("dB"));
    item.resize(160, 60);
    item.show();
    QVERIFY(QTest::qWaitForWindowExposed(&item));

    const auto place = [&item](QLabel *label) { return label->mapTo(&item, label->rect().center()); };
    const QPoint value1 = place(item.valueLabel1());
    const QPoint unit1 = place(item.unitLabel1());
    const QPoint value2 = place(item.valueLabel2());
    const QPoint unit2 = place(item.unitLabel2());
    QVERIFY(value1.y() < value2.y());
    QVERIFY(unit1.y() < unit2.y());
    QVERIFY(qAbs(value1.y() - unit1.y()) < item.valueLabel1()->height());
    QVERIFY(qAbs(value2.y() - unit2.y()) < item.valueLabel2()->height());
    QVERIFY(value1.x() < unit1.x());
    QVERIFY(value2.x() < unit2.x());
}

LUMISK_TEST(TestDoubleExcelItem)
#include "tst_doubleexcelitem.moc"
