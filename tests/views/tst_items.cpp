// The paged record store: pages of 100, counts and the page-count signal.

#include "link/opmitemdata.h"
#include "records.h"
#include "testregistry.h"
#include "views/items.h"

#include <QSignalSpy>
#include <QTest>

class TestItems : public QObject
{
    Q_OBJECT
private slots:
    void paging_data();
    void paging();
    void clearItemsEmptiesAndAnnounces();
    void allItemsKeepsArrivalOrder();
};

void TestItems::paging_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("announced");
    QTest::addColumn<int>("lastPageSize");

    QTest::newRow("empty") << 0 << 0 << QList<int>{} << 0;
    QTest::newRow("one") << 1 << 1 << QList<int>{1} << 1;
    QTest::newRow("100th fills page 1") << 100 << 100 << QList<int>{1} << 100;
    QTest::newRow("101st starts page 2") << 101 << 101 << QList<int>{1, 2} << 1;
    QTest::newRow("250") << 250 << 250 << QList<int>{1, 2, 3} << 50;
    QTest::newRow("300") << 300 << 300 << QList<int>{1, 2, 3} << 100;
}

void TestItems::paging()
{
    QFETCH(int, records);
    QFETCH(int, count);
    QFETCH(QList<int>, announced);
    QFETCH(int, lastPageSize);

    Items<OpmItemData> items;
    QSignalSpy spy(&items, &Agent::pageCountChanged);
    for (int i = 1; i <= records; ++i)
        items.append(views_test::opmRecord(i));

    QCOMPARE(items.itemCount(), count);
    QList<int> emitted;
    for (const auto &args : spy)
        emitted << args.at(0).toInt();
    QCOMPARE(emitted, announced);
    QCOMPARE(items.currentPage, records > 0 ? 1 : 0);
    if (records > 0)
        QCOMPARE(int(items.lastPage().size()), lastPageSize);
    for (int p = 1; p < items.pageCount(); ++p)
        QCOMPARE(int(items.page(p)->size()), ITEMS_PER_PAGE);
    QVERIFY(!items.page(0));
    QVERIFY(!items.page(items.pageCount() + 1));
}

void TestItems::clearItemsEmptiesAndAnnounces()
{
    Items<OpmItemData> items;
    for (int i = 1; i <= 150; ++i)
        items.append(views_test::opmRecord(i));
    items.currentPage = 2;
    QSignalSpy spy(&items, &Agent::pageCountChanged);
    items.clearItems();
    QCOMPARE(items.itemCount(), 0);
    QCOMPARE(items.currentPage, 0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);

    // An empty store announces the empty state as well.
    items.clearItems();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 0);
}

void TestItems::allItemsKeepsArrivalOrder()
{
    Items<PonOpmItemData> items;
    for (int i = 1; i <= 205; ++i)
        items.append(views_test::ponRecord(i, {}));
    const QList<PonOpmItemData> all = items.allItems();
    QCOMPARE(all.size(), 205);
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(all.at(i).number, QString::number(i + 1).rightJustified(4, QLatin1Char('0')));
}

LUMISK_TEST(TestItems)
#include "tst_items.moc"
