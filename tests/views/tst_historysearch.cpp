// The history page as a technician uses it every day: finding the sessions
// of a fibre by the record's name or number as the meter labels it, opening
// one with Enter, and a live run's interval.

#include "history/historystore.h"
#include "testregistry.h"
#include "views/historyform.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

History::Record record(const QString &number, const QString &name)
{
    History::Reading reading;
    reading.wavelength = QStringLiteral("1310");
    reading.powerText = QStringLiteral("-9.50");
    reading.unit = QStringLiteral("dBm");
    return {QStringLiteral("single"), number, name, QStringLiteral("24/05/01 08:30"), QByteArray(1, '\1'), {reading}};
}

} // namespace

class TestHistorySearch : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<HistoryStore> store;
    std::unique_ptr<HistoryForm> page;

    QTableWidget *table() { return page->findChild<QTableWidget *>(QStringLiteral("historyTable")); }
    QLineEdit *search() { return page->findChild<QLineEdit *>(QStringLiteral("historySearchEdit")); }

    QStringList listedMeters()
    {
        QStringList meters;
        for (int row = 0; row < table()->rowCount(); ++row)
            meters << table()->item(row, HistoryForm::MeterColumn)->text();
        meters.sort();
        return meters;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        store = std::make_unique<HistoryStore>(dir.filePath(QStringLiteral("history.sqlite")));
        QVERIFY(store->open());
        const auto download = [this](const QString &meter, const QList<History::Record> &records) {
            const qint64 id = store->beginSession({QStringLiteral("single"), meter, "1.0", 6, 0, "ana", "pc"});
            for (const History::Record &r : records)
                store->addRecord(id, r);
            store->endSession(id);
        };
        download(QStringLiteral("A"), {record("12", "OLT3-P12"), record("13", "OLT3-P13")});
        download(QStringLiteral("B"), {record("7", "OLT1-P01")});
        QVERIFY(store->flush());
        page = std::make_unique<HistoryForm>();
        page->setStore(store.get());
        page->show(); // a shown page lists
        QVERIFY(table() && search());
    }

    void findsByRecord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("meters");
        QTest::newRow("nothing typed") << "" << QStringList{"A", "B"};
        QTest::newRow("a name") << "OLT3-P12" << QStringList{"A"};
        QTest::newRow("a name in other letters") << "olt1-p01" << QStringList{"B"};
        QTest::newRow("a number") << "7" << QStringList{"B"};
        QTest::newRow("nothing of that name") << "OLT9" << QStringList{};
        // Typed as text, never as SQL.
        QTest::newRow("quotes and wildcards") << "' OR '1'='1" << QStringList{};
    }
    void findsByRecord()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, meters);
        search()->setText(typed);
        QTRY_COMPARE(listedMeters(), meters);
    }

    void enterOpensTheSession()
    {
        search()->clear();
        QTRY_COMPARE(table()->rowCount(), 2);
        QList<qint64> opened;
        connect(page.get(), &HistoryForm::openRequested, this,
                [&opened](const HistoryStore::SessionSummary &session) { opened << session.id; });
        table()->setCurrentCell(1, 0);
        QTest::keyClick(table(), Qt::Key_Return);
        QCOMPARE(opened, QList<qint64>{page->sessions().at(1).id});
    }

    void liveRunShowsItsInterval_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lengthMs"); // -1: unfinished
        QTest::addColumn<QString>("shown");
        QTest::newRow("2 s") << "live" << 5 << 8000 << "about every 2 s";
        QTest::newRow("half a second") << "live" << 11 << 5000 << "about every 0.5 s";
        QTest::newRow("one reading") << "live" << 1 << 0 << "";
        QTest::newRow("unfinished") << "live" << 5 << -1 << "";
        QTest::newRow("a download") << "single" << 5 << 8000 << "";
    }
    void liveRunShowsItsInterval()
    {
        QFETCH(QString, kind);
        QFETCH(int, count);
        QFETCH(int, lengthMs);
        QFETCH(QString, shown);
        HistoryStore::SessionSummary session;
        session.kind = kind;
        session.count = count;
        session.started = QDateTime(QDate(2024, 5, 1), QTime(8, 0));
        if (lengthMs >= 0)
            session.ended = session.started.addMSecs(lengthMs);
        QCOMPARE(HistoryForm::intervalText(session), shown);
    }
};

LUMISK_TEST(TestHistorySearch)
#include "tst_historysearch.moc"
