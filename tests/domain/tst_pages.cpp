// Which pages a meter is offered, by its identity.

#include "domain/pages.h"
#include "link/devdatas.h"
#include "testregistry.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<PageType>)

class TestPages : public QObject
{
    Q_OBJECT
private slots:
    void offered_data()
    {
        using P = PageType;
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rangeCode");
        QTest::addColumn<bool>("records");
        QTest::addColumn<QList<PageType>>("pages");
        QTest::newRow("pon, no range") << 1 << 0 << true << QList<P>{P::Pon};
        QTest::newRow("pon, ranged") << 2 << 1 << true << QList<P>{P::Opm, P::Pon, P::Chart};
        QTest::newRow("xg-pon, ranged") << 3 << 2 << true << QList<P>{P::Opm, P::XGPon, P::Chart};
        QTest::newRow("xg-pon, no range") << 3 << 0 << true << QList<P>{P::XGPon};
        QTest::newRow("pon+fttx") << 4 << 0 << true << QList<P>{P::Pon, P::Fttx};
        QTest::newRow("pon+fttx, ranged") << 4 << 1 << true << QList<P>{P::Pon, P::Fttx, P::Chart};
        QTest::newRow("multi-wave, no range") << 5 << 0 << true << QList<P>{P::Opm, P::MultiWave, P::Chart};
        QTest::newRow("single-wave 10") << 10 << 0 << true << QList<P>{P::Opm, P::Chart};
        QTest::newRow("partial, ranged: no chart") << 9 << 1 << true << QList<P>{P::Partial};
        QTest::newRow("unknown kind, ranged") << 11 << 1 << true << QList<P>{P::Chart};
        QTest::newRow("kind 0") << 0 << 0 << true << QList<P>{};
        QTest::newRow("negative kind") << -3 << 1 << true << QList<P>{P::Chart};
        QTest::newRow("no record pages") << 5 << 0 << false << QList<P>{P::Chart};
        QTest::newRow("partial without record pages") << 9 << 0 << false << QList<P>{P::Chart};
    }
    void offered()
    {
        DevDatas identity;
        QFETCH(int, kind);
        QFETCH(int, rangeCode);
        QFETCH(bool, records);
        identity.devKind = kind;
        identity.rangeCode = rangeCode;
        identity.hasRecordPages = records;
        QFETCH(QList<PageType>, pages);
        QCOMPARE(pagesFor(identity), pages);
    }
};

LUMISK_TEST(TestPages)
#include "tst_pages.moc"
