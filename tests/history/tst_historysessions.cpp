// The history page's queries: the session list (order, counts, filters),
// stored records decoded again into what the download gave, deleting a
// session without losing records another session holds.

#include "session/historyreplay.h"
#include "history/historywriter.h"
#include "historytestdata.h"
#include "testregistry.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using historytest::meter;
using historytest::scalar;

HistoryStore::Record decoded(const QString &family, Frame *frame, const QByteArray &answer)
{
    if (frame->feed(answer) != DataOk)
        return {};
    return HistoryStore::recordFrom(family, frame);
}

// A record with its readings as one text, for comparing.
QString text(const HistoryStore::Record &record)
{
    QStringList parts{record.family, record.number, record.name, record.time, QString::fromLatin1(record.payload.toHex())};
    for (const HistoryStore::Reading &r : record.readings)
        parts << QStringList{r.wavelength, r.powerText, r.unit, r.reference, r.watt, r.frequency,
                             QString::number(r.verdict)}
                     .join(QLatin1Char(','));
    return parts.join(QLatin1Char('|'));
}

HistoryStore::Record single(int number)
{
    return historytest::decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                records::generatedSingle(number));
}

} // namespace

class TestHistorySessions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        file = dir.filePath(QStringLiteral("%1-%2.sqlite")
                                .arg(QTest::currentTestFunction(), QTest::currentDataTag() ? QTest::currentDataTag() : ""));
    }

    void storedRecordsDecodeAgain_data()
    {
        historytest::addFamilies();
    }

    // The answer rebuilt from the store decodes, through the page's frame,
    // into the record the download gave (the partial-wave verdicts included,
    // which travel in the answer's head, not in the stored payload).
    void storedRecordsDecodeAgain()
    {
        QFETCH(QString, family);
        QFETCH(MakeFrame, makeFrame);
        QFETCH(MakeRecord, makeRecord);
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 session = store.beginSession(meter(family));
        QStringList expected;
        for (int number = 1; number <= 12; ++number) {
            const StoredRecord sent = makeRecord(number);
            std::unique_ptr<Frame> frame(makeFrame());
            const HistoryStore::Record record =
                decoded(family, frame.get(), wire::answer(sent.code, sent.fourth, sent.payload));
            QCOMPARE(record.family, family);
            expected << text(record);
            store.addRecord(session, record);
        }
        store.endSession(session);
        QStringList again;
        for (const HistoryStore::Record &stored : store.sessionRecords(session)) {
            std::unique_ptr<Frame> frame(makeFrame());
            again << text(decoded(family, frame.get(), HistoryReplay::answerOf(stored)));
        }
        QCOMPARE(again, expected);
    }

    void sessionListNewestFirstFiltered()
    {
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 first = store.beginSession(meter(QStringLiteral("single")));
        for (int number = 1; number <= 3; ++number)
            store.addRecord(first, single(number));
        store.endSession(first);
        const qint64 live = store.beginSession(meter(QStringLiteral("live"), QStringLiteral("LM-500")));
        for (int i = 0; i < 4; ++i)
            store.addLiveReading(live, {QDateTime::currentDateTime(), QStringLiteral("1550"), QStringLiteral("-3.00"),
                                        QStringLiteral("dBm"), QString()});
        const qint64 open = store.beginSession(meter(QStringLiteral("single")));
        store.addRecord(open, single(1));

        auto ids = [](const QList<HistoryStore::SessionSummary> &list) {
            QList<qint64> result;
            for (const auto &s : list)
                result << s.id;
            return result;
        };
        const QList<HistoryStore::SessionSummary> all = store.sessionList();
        QCOMPARE(ids(all), (QList<qint64>{open, live, first}));
        QCOMPARE(all.at(0).count, 1); // still being written: what is queued counts
        QVERIFY(!all.at(0).ended.isValid());
        QCOMPARE(all.at(1).count, 4);
        QCOMPARE(all.at(2).count, 3);
        QVERIFY(all.at(2).ended.isValid());
        QCOMPARE(all.at(2).technician, QStringLiteral("ana"));
        QCOMPARE(store.meterModels(), (QStringList{"LM-300", "LM-500"}));

        const QDate today = all.at(0).started.date();
        QCOMPARE(ids(store.sessionList(QStringLiteral("LM-300"))), (QList<qint64>{open, first}));
        QCOMPARE(ids(store.sessionList(QStringLiteral("LM-500"))), (QList<qint64>{live}));
        QCOMPARE(store.sessionList(QString(), today, today).size(), 3);
        QVERIFY(store.sessionList(QString(), today.addDays(1)).isEmpty());
        QVERIFY(store.sessionList(QString(), QDate(), today.addDays(-1)).isEmpty());
    }

    // The filtered list: meter, start between two moments, a record's name
    // (any case) or number; every field empty takes every session.
    void sessionFilter_data()
    {
        QTest::addColumn<QString>("meter");
        QTest::addColumn<int>("fromHours"); // from now; 0: no bound
        QTest::addColumn<int>("toHours");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("listed"); // newest first
        QTest::newRow("everything") << "" << 0 << 0 << "" << "CBA";
        QTest::newRow("meter") << "LM-500" << 0 << 0 << "" << "CB";
        QTest::newRow("between") << "" << -1 << 1 << "" << "CBA";
        QTest::newRow("from later") << "" << 1 << 0 << "" << "";
        QTest::newRow("to earlier") << "" << 0 << -1 << "" << "";
        QTest::newRow("name, any case") << "" << 0 << 0 << "NORTH" << "A";
        QTest::newRow("number") << "" << 0 << 0 << "12" << "B";
        QTest::newRow("number whole") << "" << 0 << 0 << "1" << "A";
        QTest::newRow("quote") << "" << 0 << 0 << "o'b" << "B";
        QTest::newRow("meter and name") << "LM-500" << 0 << 0 << "north" << "";
        // Texts shorter than three characters go another way through the index.
        QTest::newRow("two letters, a name's end") << "" << 0 << 0 << "TH" << "A";
        QTest::newRow("one letter, a name's end") << "" << 0 << 0 << "h" << "A";
        QTest::newRow("one letter, several") << "" << 0 << 0 << "E" << "BA";
        QTest::newRow("beyond ASCII, short") << "" << 0 << 0 << "ä" << "A";
        QTest::newRow("beyond ASCII") << "" << 0 << 0 << "ÄMTER" << "A";
        QTest::newRow("a space inside") << "" << 0 << 0 << "ien b" << "B";
        QTest::newRow("quote, short") << "" << 0 << 0 << "'" << "B";
        QTest::newRow("a double quote") << "" << 0 << 0 << "\"x\"" << "";
        QTest::newRow("not the number's text") << "" << 0 << 0 << "012" << "";
        QTest::newRow("a control character") << "" << 0 << 0 << "\x1f" << "";
        QTest::newRow("nothing such") << "" << 0 << 0 << "zz" << "";
    }
    void sessionFilter()
    {
        QFETCH(QString, meter);
        QFETCH(int, fromHours);
        QFETCH(int, toHours);
        QFETCH(QString, search);
        QFETCH(QString, listed);
        HistoryStore store(file);
        QVERIFY(store.open());
        const auto download = [&store](const QString &model, const QList<QPair<int, QString>> &records) {
            const qint64 id = store.beginSession(historytest::meter(QStringLiteral("single"), model));
            for (const auto &[number, name] : records) {
                HistoryStore::Record record = single(number);
                record.name = name;
                store.addRecord(id, record);
            }
            store.endSession(id);
            return id;
        };
        QMap<qint64, QChar> letters;
        letters[download(QStringLiteral("LM-300"), {{1, QStringLiteral("Cabinet North")},
                                                    {2, QStringLiteral("pole")},
                                                    {3, QStringLiteral("Ämter")}})] = 'A';
        letters[download(QStringLiteral("LM-500"), {{12, QStringLiteral("O'Brien basement")}})] = 'B';
        const qint64 live = store.beginSession(historytest::meter(QStringLiteral("live"), QStringLiteral("LM-500")));
        store.endSession(live);
        letters[live] = 'C';

        // Names of the last moments are looked through one by one, in ASCII
        // case; indexed, in every letter's.
        QTRY_VERIFY(historytest::namesIndexed(file));
        const QDateTime now = QDateTime::currentDateTime();
        HistoryStore::SessionFilter filter;
        filter.meter = meter;
        filter.from = fromHours ? now.addSecs(3600 * fromHours) : QDateTime();
        filter.to = toHours ? now.addSecs(3600 * toHours) : QDateTime();
        filter.search = search;
        QString why;
        QString got;
        for (const HistoryStore::SessionSummary &session : store.sessionList(filter, &why))
            got += letters.value(session.id);
        QVERIFY2(why.isEmpty(), qPrintable(why));
        QCOMPARE(got, listed);
        // The newest of them, and one of them by its id.
        filter.limit = 1;
        QCOMPARE(store.sessionList(filter).size(), qMin(1, int(listed.size())));
        filter.limit = 0;
        for (auto it = letters.constBegin(); it != letters.constEnd(); ++it) {
            filter.session = it.key();
            QCOMPARE(store.sessionList(filter).size(), int(listed.contains(it.value())));
        }
    }

    // Names not indexed yet (a file brought up to date, the last moments'
    // records) are found all the same, and the writer indexes them when it
    // is idle: the index then holds exactly the records there are.
    void namesIndexedInTheBackground()
    {
        qint64 id = 0;
        {
            HistoryStore store(file);
            QVERIFY(store.open());
            id = store.beginSession(meter(QStringLiteral("single")));
            for (int number = 1; number <= HistoryWriter::NameChunk + 5; ++number) {
                HistoryStore::Record record = single(number);
                record.name = QStringLiteral("Cabinet %1").arg(number);
                store.addRecord(id, record);
            }
            store.endSession(id);
            QTRY_VERIFY(historytest::namesIndexed(file));
        }
        {
            // As a file of an older version is left by its new step.
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("unindexed"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("INSERT INTO record_names (record_names) VALUES ('delete-all')")));
            QVERIFY(query.exec(QStringLiteral("UPDATE record_names_indexed SET upto = 0")));
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("unindexed"));
        HistoryStore store(file);
        QVERIFY(store.open());
        HistoryStore::SessionFilter filter;
        filter.search = QStringLiteral("CABINET 2005");
        QCOMPARE(store.sessionList(filter).size(), 1);
        QTRY_VERIFY(historytest::namesIndexed(file));
        QCOMPARE(store.sessionList(filter).size(), 1);
        filter.search = QStringLiteral("t 7");
        QCOMPARE(store.sessionList(filter).size(), 1);
        QVERIFY(historytest::namesIndexConsistent(file));
    }

    // The lists the history page and the start panel ask for come out of
    // indexes: no table is read whole, and the newest few are not sorted out
    // of all of them.
    void sessionListsUseIndexes_data()
    {
        QTest::addColumn<QString>("meter");
        QTest::addColumn<bool>("days");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("limit");
        QTest::newRow("meter and days") << "LM-300" << true << "" << 0;
        QTest::newRow("meter") << "LM-300" << false << "" << 0;
        QTest::newRow("days") << "" << true << "" << 0;
        QTest::newRow("name") << "" << false << "OLT3-P12" << 0;
        QTest::newRow("short name or number") << "" << false << "12" << 0;
        QTest::newRow("one letter") << "" << false << "p" << 0;
        QTest::newRow("name, meter and days") << "LM-300" << true << "P12" << 0;
        QTest::newRow("the newest five") << "" << false << "" << 5;
    }
    void sessionListsUseIndexes()
    {
        QFETCH(QString, meter);
        QFETCH(bool, days);
        QFETCH(QString, search);
        QFETCH(int, limit);
        {
            HistoryStore store(file);
            QVERIFY(store.open());
        }
        HistoryStore::SessionFilter filter;
        filter.meter = meter;
        if (days) {
            filter.from = QDateTime::currentDateTime().addDays(-30);
            filter.to = QDateTime::currentDateTime();
        }
        filter.search = search;
        filter.limit = limit;
        const HistoryStore::SessionQuery sql = HistoryStore::sessionQuery(filter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plan"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QStringList plan;
        {
            QSqlQuery query(db);
            QVERIFY(query.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql.text));
            for (auto value = sql.values.constBegin(); value != sql.values.constEnd(); ++value)
                query.bindValue(value.key(), value.value());
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
            while (query.next())
                plan << query.value(3).toString();
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("plan"));
        const QRegularExpression wholeTable(QStringLiteral("^SCAN (s|r|sr|l)( |$)"));
        for (const QString &step : plan) {
            // The newest few: read off the end of the index on start times.
            if (limit > 0 && step == QLatin1String("SCAN s USING INDEX sessions_started"))
                continue;
            QVERIFY2(!wholeTable.match(step).hasMatch(), qPrintable(plan.join(QLatin1String("; "))));
        }
        if (limit > 0)
            QVERIFY2(!plan.join(QLatin1Char(';')).contains(QLatin1String("TEMP B-TREE")),
                     qPrintable(plan.join(QLatin1String("; "))));
    }

    // A record two downloads brought stays until the last of them is deleted
    // (the records of a big session are swept in several steps); a session
    // still being written cannot be deleted.
    void deleteKeepsWhatOthersHold_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("two") << 2;
        QTest::newRow("more than one sweep step") << HistoryWriter::SweepChunk + 1;
    }
    void deleteKeepsWhatOthersHold()
    {
        QFETCH(int, records);
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 first = store.beginSession(meter(QStringLiteral("single")));
        for (int number = 1; number <= records; ++number)
            store.addRecord(first, single(number));
        store.endSession(first);
        qint64 second = store.beginSession(meter(QStringLiteral("single")));
        store.addRecord(second, single(2));
        QString why;
        QVERIFY(!store.deleteSession(second, &why));
        QVERIFY(!why.isEmpty());
        store.endSession(second);
        // A writer still busy with the big session gives a stand-in id at the
        // start; the stored session is the one listed with one record.
        for (const HistoryStore::SessionSummary &listed : store.sessionList()) {
            if (listed.count == 1)
                second = listed.id;
        }
        const int readingsOfAll = scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings"));

        // The names' index follows the records it indexes.
        HistoryStore::SessionFilter named;
        named.search = single(2).name;
        QCOMPARE(store.sessionList(named).size(), 2);
        QTRY_VERIFY(historytest::namesIndexed(file));

        QVERIFY(store.deleteSession(first));
        QVERIFY(historytest::namesIndexConsistent(file));
        QCOMPARE(store.sessionList(named).size(), 1);
        QCOMPARE(store.sessionList().size(), 1);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 1);
        QVERIFY(scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings")) < readingsOfAll);
        QCOMPARE(store.sessionRecords(second).size(), 1);
        QCOMPARE(store.sessionRecords(second).first().number, single(2).number);

        QVERIFY(store.deleteSession(second));
        QVERIFY(!store.deleteSession(second));
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 0);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings")), 0);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM sessions")), 0);
        QVERIFY(historytest::namesIndexConsistent(file));
        QVERIFY(store.sessionList(named).isEmpty());
    }
};

LUMISK_TEST(TestHistorySessions)
#include "tst_historysessions.moc"
