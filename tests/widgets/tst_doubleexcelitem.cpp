// The two-value cell item before a view has written into it.

#include "testregistry.h"

#include "widgets/doubleexcelitem.h"

#include <QGridLayout>
#include <QLabel>
#include <QTest>

class TestDoubleExcelItem : public QObject
{
    Q_OBJECT

private slots:
    void newItemShowsPlaceholders();
};

void TestDoubleExcelItem::newItemShowsPlaceholders()
{
    DoubleExcelItem item;
    QCOMPARE(item.objectName(), QStringLiteral("DoubleExcelItem"));
    const QList<QLabel *> labels{item.valueLabel1(), item.unitLabel1(), item.valueLabel2(), item.unitLabel2()};
    const QStringList texts{"-80.00", "dBm", "-80.00", "dBm"};
    auto *grid = item.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    QVERIFY(grid);
    for (int i = 0; i < labels.size(); ++i) {
        QVERIFY(labels.at(i));
        QCOMPARE(labels.at(i)->text(), texts.at(i));
        QCOMPARE(labels.at(i)->font().pointSize(), 9);
        // Value left, unit right; first wavelength above the second.
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(labels.at(i)), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, i / 2);
        QCOMPARE(column, i % 2);
    }
    QVERIFY(item.valueLabel1()->alignment() & Qt::AlignHCenter);
    QCOMPARE(item.valueLabel1()->minimumWidth(), 45);
    QCOMPARE(item.unitLabel2()->minimumWidth(), 25);
}

LUMISK_TEST(TestDoubleExcelItem)
#include "tst_doubleexcelitem.moc"
