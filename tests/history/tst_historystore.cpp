// The measurement history: records of every family and live readings read
// back through the `measurements` view, downloads repeated without new rows
// (and counted once), what a killed writer leaves, rows still queued for the
// writer's thread when sessions end or the store closes, an older file
// brought up to date, released schema steps unchanged, reads that fail said
// (to the history page too), and files the store must not (or cannot) write.

#include "historytestdata.h"
#include "history/schema.h"
#include "link/realtimeopmvalueframe.h"
#include "testregistry.h"
#include "views/historyform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using historytest::decoded;
using historytest::meter;
using historytest::scalar;

// Rows of the measurements view, one text per reading.
QStringList measurements(const QString &file, const QString &where = QString())
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT family, record_number, name, time, wavelength, power_dbm, power_text,"
                                      " unit, reference, watt, verdict FROM measurements %1"
                                      " ORDER BY session_id, record_number, reading_index")
                           .arg(where));
            while (query.next()) {
                QStringList cells;
                for (int i = 0; i < 11; ++i)
                    cells << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
                rows << cells.join(QLatin1Char('|'));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reader"));
    return rows;
}

QString orNull(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("NULL") : text;
}

HistoryStore::Record single(int number)
{
    return decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); }, records::generatedSingle(number));
}

// The numbers of a session's records in the order the store gives them back.
QStringList numbers(const QList<HistoryStore::Record> &records)
{
    QStringList list;
    for (const HistoryStore::Record &record : records)
        list << record.number;
    return list;
}

QStringList range(int first, int last)
{
    QStringList list;
    for (int number = first; number <= last; ++number)
        list << QString::number(number);
    return list;
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        file = dir.filePath(QStringLiteral("%1.sqlite").arg(QTest::currentTestFunction()));
        QFile::remove(file);
    }

    void recordsOfEveryFamilyReadBack_data()
    {
        historytest::addFamilies();
    }

    // What the page would show, reading by reading, is what the view gives.
    void recordsOfEveryFamilyReadBack()
    {
        QFETCH(QString, family);
        QFETCH(MakeFrame, makeFrame);
        QFETCH(MakeRecord, makeRecord);
        HistoryStore store(file);
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        const qint64 session = store.beginSession(meter(family));
        QVERIFY(session > 0);
        QStringList expected;
        const char *verdicts[] = {"pass", "warning", "fail"};
        for (int number = 1; number <= 4; ++number) {
            const HistoryStore::Record record = decoded(family, makeFrame, makeRecord(number));
            QCOMPARE(record.family, family);
            QVERIFY(!record.readings.isEmpty());
            for (const HistoryStore::Reading &r : record.readings) {
                bool isNumber = false;
                const double power = r.powerText.toDouble(&isNumber);
                expected << QStringList{family, record.number, record.name, HistoryStore::isoTime(record.time),
                                        r.wavelength, isNumber ? QString::number(power) : QStringLiteral("NULL"),
                                        r.powerText, orNull(r.unit), orNull(r.reference), orNull(r.watt),
                                        r.verdict >= 0 && r.verdict <= 2 ? verdicts[r.verdict] : "NULL"}
                                .join(QLatin1Char('|'));
            }
            store.addRecord(session, record);
        }
        store.endSession(session);
        QVERIFY(!HistoryStore::isoTime(decoded(family, makeFrame, makeRecord(1)).time).isEmpty());
        QCOMPARE(measurements(file), expected);
    }

    // A live reading comes back as the chart kept it: the power the meter
    // sent to the last bit (the curve and its statistics use it, not the
    // two-decimal text), its reference and watts, its arrival to the
    // millisecond at its own UTC offset; the view shows the same.
    void liveReadingsReadBack()
    {
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 session = store.beginSession(meter(QStringLiteral("live")));
        const QDateTime start(QDate(2026, 3, 1), QTime(10, 0, 5, 250), Qt::OffsetFromUTC, 3600);
        RealTimeOpmValueFrame frame(nullptr);
        QList<RealTimeOpmValue> sent;
        for (int i = 0; i < 3; ++i) {
            const auto reading = records::liveReading(1.1 + 7.3 * i);
            frame.reset();
            QCOMPARE(frame.feed(wire::answer(0x08, 0, records::encodeRealTime(reading, {}))), DataOk);
            sent << frame.value();
            store.addLiveReading(session, HistoryStore::LiveReading::of(start.addMSecs(500 * i), sent.last()));
        }
        store.endSession(session);
        const auto shown = [](const RealTimeOpmValue &v) {
            return QStringList{v.wavelength, v.power, v.powerUnit, v.reference, v.powerW, v.powerWUnit, v.frequency}
                .join(QLatin1Char('|'));
        };
        const QList<HistoryStore::LiveReading> stored = store.sessionLiveReadings(session);
        QCOMPARE(stored.size(), sent.size());
        QStringList viewed;
        for (int i = 0; i < sent.size(); ++i) {
            const RealTimeOpmValue back = stored.at(i).value();
            QCOMPARE(shown(back), shown(sent.at(i)));
            QVERIFY(!sent.at(i).reference.isEmpty() && !sent.at(i).powerWUnit.isEmpty());
            // Exactly the meter's float, which the text does not give back.
            QVERIFY(back.powerValue == sent.at(i).powerValue);
            QVERIFY(sent.at(i).power.toFloat() != sent.at(i).powerValue);
            QCOMPARE(stored.at(i).arrival, start.addMSecs(500 * i));
            QCOMPARE(stored.at(i).arrival.offsetFromUtc(), 3600);
            const QString power = QString::number(double(sent.at(i).powerValue), 'g', QLocale::FloatingPointShortest);
            viewed << QStringList{"live", "NULL", "NULL", start.addMSecs(500 * i).toUTC().toString(Qt::ISODateWithMs),
                                  sent.at(i).wavelength, power, sent.at(i).power, sent.at(i).powerUnit,
                                  sent.at(i).reference, sent.at(i).powerW + sent.at(i).powerWUnit, "NULL"}
                          .join(QLatin1Char('|'));
        }
        QCOMPARE(measurements(file), viewed);
    }

    // Downloading the same records again adds no record or reading, yet the
    // second session lists them; `measurements` counts each reading once,
    // under the first session that still holds it; a refilled memory (other
    // payload) is new.
    void sameRecordsTwiceAddNothing()
    {
        HistoryStore store(file);
        QVERIFY(store.open());
        auto download = [&](int first, int last) {
            const qint64 session = store.beginSession(meter(QStringLiteral("multi")));
            for (int number = first; number <= last; ++number)
                store.addRecord(session, decoded(QStringLiteral("multi"), [] { return new OpmValueFrame(nullptr); },
                                                 records::generatedMulti(number)));
            store.endSession(session);
            return session;
        };
        const qint64 first = download(1, 3);
        const int readings = scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings"));
        const qint64 again = download(1, 3);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 3);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings")), readings);
        const QString counted = QStringLiteral("SELECT COUNT(*) FROM measurements WHERE session_id = %1");
        const QString listed = QStringLiteral("SELECT COUNT(*) FROM session_measurements WHERE session_id = %1");
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM measurements")), readings);
        QCOMPARE(scalar(file, counted.arg(first)), readings);
        QCOMPARE(scalar(file, listed.arg(first)), readings);
        QCOMPARE(scalar(file, listed.arg(again)), readings);
        QVERIFY(store.deleteSession(first));
        QCOMPARE(scalar(file, counted.arg(again)), readings);

        const qint64 refilled = store.beginSession(meter(QStringLiteral("multi")));
        HistoryStore::Record other =
            decoded(QStringLiteral("multi"), [] { return new OpmValueFrame(nullptr); }, records::generatedMulti(1));
        other.payload[other.payload.size() - 1] = char(other.payload.back() ^ 1);
        store.addRecord(refilled, other);
        store.endSession(refilled);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 4);
    }

    // The files as a killed process leaves them (database and write-ahead log
    // copied while the writer still holds them) keep every commit the timer
    // made; only what waited for the next commit is gone (the writer's
    // thread may have committed the fourth while the files were copied).
    void committedWritesSurviveAKill()
    {
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 session = store.beginSession(meter(QStringLiteral("single")));
        for (int number = 1; number <= 3; ++number)
            store.addRecord(session, decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                             records::generatedSingle(number)));
        QCOMPARE(store.pendingCount(), 3);
        QTRY_COMPARE(store.pendingCount(), 0); // the commit timer, not a flush
        store.addRecord(session, decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                         records::generatedSingle(4)));
        const QString copy = dir.filePath(QStringLiteral("killed.sqlite"));
        for (const QString suffix : {"", "-wal"}) {
            QFile::remove(copy + suffix);
            QVERIFY(QFile::copy(file + suffix, copy + suffix));
        }
        const int kept = scalar(copy, QStringLiteral("SELECT COUNT(*) FROM records"));
        QVERIFY2(kept == 3 || kept == 4, qPrintable(QString::number(kept)));
        QCOMPARE(scalar(copy, QStringLiteral("SELECT COUNT(*) FROM sessions WHERE ended_utc IS NULL")), 1);
    }

    // A file of a later schema: opened read-only with a message, never changed.
    void newerSchemaStaysUntouched()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("CREATE TABLE future (x)"));
            QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(Schema::version(Schema::Home::File) + 1));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
        QFile before(file);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();

        HistoryStore store(file);
        QVERIFY(store.open());
        QVERIFY(store.isReadOnly());
        QVERIFY(store.lastError().contains(QStringLiteral("newer")));
        QCOMPARE(store.beginSession(meter(QStringLiteral("single"))), qint64(0));
        store.close();
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytes);
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
    }

    // No history, a message, and no crash whatever the window goes on to send.
    void unwritableFolderMeansNoHistory()
    {
        QFile blocker(dir.filePath(QStringLiteral("plain-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        HistoryStore store(dir.filePath(QStringLiteral("plain-file/history.sqlite")));
        QVERIFY(!store.open());
        QVERIFY(!store.lastError().isEmpty());
        const qint64 session = store.beginSession(meter(QStringLiteral("single")));
        QCOMPARE(session, qint64(0));
        store.addRecord(session, decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                         records::generatedSingle(1)));
        store.endSession(session);
        QCOMPARE(store.pendingCount(), 0);
    }

    // A damaged file is kept aside, byte for byte, and history goes on afresh.
    void damagedFileIsMovedAside()
    {
        const QByteArray garbage(4096, 'x');
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(garbage);
        }
        HistoryStore store(file);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QVERIFY(store.beginSession(meter(QStringLiteral("single"))) > 0);
        const QStringList aside = QDir(dir.path()).entryList({QFileInfo(file).fileName() + ".corrupt-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(dir.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), garbage);
    }

    // A write that fails half way, in a flush or in the writer's own timed
    // commit: nothing of the batch is kept, one warning and one message, the
    // store turns read-only and takes no more.
    void failingWriteTurnsReadOnly_data()
    {
        QTest::addColumn<bool>("flushed");
        QTest::newRow("flush") << true;
        QTest::newRow("commit timer") << false;
    }
    void failingWriteTurnsReadOnly()
    {
        QFETCH(bool, flushed);
        HistoryStore store(file);
        QVERIFY(store.open());
        QSignalSpy said(&store, &HistoryStore::failed);
        const qint64 session = store.beginSession(meter(QStringLiteral("single")));
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM sqlite_master)")) > 0, true);
        scalar(file, QStringLiteral("DROP TABLE readings"));
        store.addRecord(session, single(1));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("read-only")));
        if (flushed)
            QVERIFY(!store.flush());
        QTRY_COMPARE(said.count(), 1);
        QVERIFY(store.isReadOnly());
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 0);
        store.addRecord(session, single(2));
        QCOMPARE(store.pendingCount(), 0);
        QCOMPARE(store.beginSession(meter(QStringLiteral("single"))), qint64(0));
        QVERIFY(!store.flush());
        store.close();
        QCoreApplication::processEvents();
        QCOMPARE(said.count(), 1);
    }

    // Rows still queued for the writer when the window closes (the store
    // closed or destroyed, the session ended or cut off) all land, in order.
    void queuedRowsLandOnClose_data()
    {
        QTest::addColumn<bool>("ended");
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("closed") << false << false;
        QTest::newRow("destroyed") << false << true;
        QTest::newRow("ended, destroyed") << true << true;
    }
    void queuedRowsLandOnClose()
    {
        QFETCH(bool, ended);
        QFETCH(bool, destroyed);
        constexpr int Records = 300;
        auto store = std::make_unique<HistoryStore>(file);
        QVERIFY(store->open());
        const qint64 session = store->beginSession(meter(QStringLiteral("single")));
        for (int number = 1; number <= Records; ++number)
            store->addRecord(session, single(number));
        if (ended)
            store->endSession(session);
        if (destroyed)
            store.reset();
        else
            store->close();
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM session_records")), Records);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM session_records sr JOIN records r"
                                             " ON r.id = sr.record WHERE r.number = sr.position + 1")),
                 Records);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM readings")), Records);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM sessions WHERE ended_utc IS NULL")),
                 ended ? 0 : 1);
    }

    // A download ended and the next begun at once, a live run going on
    // beside them: every session gets its own rows in their order, records
    // already stored by the first download included.
    void sessionsBackToBack()
    {
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 live = store.beginSession(meter(QStringLiteral("live")));
        const QDateTime arrival = QDateTime::currentDateTime();
        const qint64 first = store.beginSession(meter(QStringLiteral("single")));
        for (int number = 1; number <= 40; ++number) {
            store.addRecord(first, single(number));
            store.addLiveReading(live, {arrival.addSecs(number), QStringLiteral("1550"), QString::number(number),
                                        QStringLiteral("dBm"), QString()});
        }
        store.endSession(first);
        const qint64 second = store.beginSession(meter(QStringLiteral("single")));
        for (int number = 31; number <= 70; ++number) {
            store.addRecord(second, single(number));
            store.addLiveReading(live, {arrival.addSecs(number + 10), QStringLiteral("1550"),
                                        QString::number(number + 10), QStringLiteral("dBm"), QString()});
        }
        store.endSession(second);
        store.endSession(live);
        QCOMPARE(numbers(store.sessionRecords(first)), range(1, 40));
        QCOMPARE(numbers(store.sessionRecords(second)), range(31, 70));
        QStringList powers;
        for (const HistoryStore::LiveReading &reading : store.sessionLiveReadings(live))
            powers << reading.powerText;
        QCOMPARE(powers, range(1, 80));
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 70);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM sessions WHERE ended_utc IS NULL")), 0);
    }

    // A released step is never edited: files and servers made by it hold
    // exactly what it says (a new step is appended instead).
    void releasedStepsNeverChange_data()
    {
        QTest::addColumn<int>("home");
        QTest::addColumn<int>("step");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("file 1") << int(Schema::Home::File) << 0 << QByteArray("182ea3f4d02d8a99");
        QTest::newRow("file 2") << int(Schema::Home::File) << 1 << QByteArray("ba10b8b38374cf93");
        QTest::newRow("file 3") << int(Schema::Home::File) << 2 << QByteArray("f7717bd06685aacf");
        QTest::newRow("file 4") << int(Schema::Home::File) << 3 << QByteArray("b627d54971908967");
        QTest::newRow("file 5") << int(Schema::Home::File) << 4 << QByteArray("a92caa748e89875d");
        QTest::newRow("server 1") << int(Schema::Home::Server) << 0 << QByteArray("8e3d210b385e0220");
        QTest::newRow("server 2") << int(Schema::Home::Server) << 1 << QByteArray("4c8dd00cc2f343af");
    }
    void releasedStepsNeverChange()
    {
        QFETCH(int, home);
        QFETCH(int, step);
        QFETCH(QByteArray, digest);
        const QString text = Schema::steps(Schema::Home(home)).at(step).join(QLatin1Char('\n'));
        QCOMPARE(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().left(16), digest);
    }

    // A table gone from under the store (renamed by another program): the
    // reads that need it say why and give nothing, the others still work,
    // and the history page shows the reason over an empty list.
    void readFailureIsReported_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("listFails");
        QTest::addColumn<bool>("recordsFail");
        QTest::addColumn<bool>("liveFails");
        QTest::newRow("sessions") << "sessions" << true << false << false;
        QTest::newRow("readings") << "readings" << false << true << false;
        QTest::newRow("live readings") << "live_readings" << true << false << true;
    }
    void readFailureIsReported()
    {
        QFETCH(QString, table);
        QFETCH(bool, listFails);
        QFETCH(bool, recordsFail);
        QFETCH(bool, liveFails);
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 download = store.beginSession(meter(QStringLiteral("single")));
        store.addRecord(download, single(1));
        store.endSession(download);
        const qint64 run = store.beginSession(meter(QStringLiteral("live")));
        store.addLiveReading(run, {QDateTime::currentDateTime(), "1310", "-9.50", "dBm", "", "-10.00", "0.112mw"});
        store.endSession(run);
        QVERIFY(store.flush());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("ALTER TABLE %1 RENAME TO moved").arg(table)));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));

        QString why = QStringLiteral("stale");
        const bool listed = !store.sessionList(QString(), QDate(), QDate(), &why).isEmpty();
        QCOMPARE(why.contains(QLatin1String("cannot be read")), listFails);
        QCOMPARE(listed, !listFails);
        QCOMPARE(store.sessionRecords(download, &why).isEmpty() && why.contains(table), recordsFail);
        QCOMPARE(why.isEmpty(), !recordsFail);
        QCOMPARE(store.sessionLiveReadings(run, &why).isEmpty() && why.contains(table), liveFails);
        QCOMPARE(why.isEmpty(), !liveFails);

        HistoryForm page;
        page.setStore(&store);
        page.refresh();
        auto *label = page.findChild<QLabel *>(QStringLiteral("historyReadErrorLabel"));
        auto *list = page.findChild<QTableWidget *>(QStringLiteral("historyTable"));
        QVERIFY(label && list);
        QCOMPARE(!label->isHidden(), listFails);
        QCOMPARE(list->rowCount(), listFails ? 0 : 2);
    }

    // A file as the first release with the team server left it (version 2:
    // no session index, live readings without reference and watts, the same
    // record in two sessions): brought up to date on opening, its sessions
    // read back, the record counted once, new rows written whole.
    void olderFileIsBroughtUpToDate()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QStringList statements = Schema::steps(Schema::Home::File).at(0) + Schema::steps(Schema::Home::File).at(1);
            statements
                << "PRAGMA user_version = 2"
                << "INSERT INTO sessions (id, kind, started_utc, uid) VALUES (1, 'single', '2024-05-01T08:00:00.000Z',"
                   " 'a'), (2, 'single', '2024-05-02T08:00:00.000Z', 'b'), (3, 'live', '2024-05-03T08:00:00.000Z', 'c')"
                << "INSERT INTO records (id, meter_model, meter_version, meter_kind, family, number, name, time_text,"
                   " payload) VALUES (1, 'LM-300', '1.2', 5, 'single', 1, 'A', '24/05/01 08:30', x'01')"
                << "INSERT INTO readings (record, idx, wavelength, power_dbm, power_text, unit)"
                   " VALUES (1, 0, '1310', -12.34, '-12.34', 'dBm')"
                << "INSERT INTO session_records (session, record, position) VALUES (1, 1, 0), (2, 1, 0)"
                << "INSERT INTO live_readings (session, arrival_utc, local_offset_s, wavelength, power_dbm,"
                   " power_text, unit) VALUES (3, '2024-05-03T08:00:01.500Z', 7200, '1310', -10.0, '-10.00', 'dBm')";
            for (const QString &statement : statements)
                QVERIFY2(query.exec(statement), qPrintable(statement + ": " + query.lastError().text()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("older"));

        HistoryStore store(file);
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QVERIFY(!store.isReadOnly());
        QCOMPARE(scalar(file, QStringLiteral("PRAGMA user_version")), Schema::version(Schema::Home::File));
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"
                                             " WHERE name = 'session_records_position'")),
                 1);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM measurements")), 2);
        QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM session_measurements")), 3);
        QCOMPARE(numbers(store.sessionRecords(2)), range(1, 1));
        // Names stored before the search's index are found by it.
        HistoryStore::SessionFilter named;
        named.search = QStringLiteral("a");
        QCOMPARE(store.sessionList(named).size(), 2);
        const QList<HistoryStore::LiveReading> live = store.sessionLiveReadings(3);
        QCOMPARE(live.size(), 1);
        QCOMPARE(live.first().value().powerValue, -10.0f);
        QCOMPARE(live.first().arrival.toString(Qt::ISODateWithMs), QStringLiteral("2024-05-03T10:00:01.500+02:00"));

        const qint64 next = store.beginSession(meter(QStringLiteral("single")));
        store.addRecord(next, single(6));
        store.endSession(next);
        QCOMPARE(numbers(store.sessionRecords(next)), range(6, 6));
        const qint64 run = store.beginSession(meter(QStringLiteral("live")));
        store.addLiveReading(run, {QDateTime::currentDateTime(), "1310", "-9.50", "dBm", "", "-10.00", "0.112mw"});
        store.endSession(run);
        QCOMPARE(store.sessionLiveReadings(run).first().value().powerW, QStringLiteral("0.112"));
    }
};

LUMISK_TEST(TestHistoryStore)
#include "tst_historystore.moc"
