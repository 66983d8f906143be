// The team server against a real PostgreSQL: a first sync into an empty
// server gives the same measurements (and session measurements) as the
// file, a server that dies in the middle of a sync loses and doubles nothing
// once back, a server that stops answering holds nothing up, and PCs holding
// the same records leave one copy of them, a batch the file refuses to mark
// goes again. Also how the server setting is read.

#include "history/historysync.h"
#include "history/serveraddress.h"
#include "historytestdata.h"
#include "pgcluster.h"
#include "testregistry.h"
#include "views/historyform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr int SyncTimeoutMs = 60000;

HistoryStore::Record single(int number)
{
    return historytest::decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                records::generatedSingle(number));
}

HistoryStore::Record pon(int number)
{
    return historytest::decoded(QStringLiteral("pon"), [] { return new PonFrame(nullptr); }, records::generatedPon(number));
}

// A download session of records first..last.
void download(HistoryStore &store, const QString &technician, int first, int last)
{
    HistoryStore::Session session = historytest::meter(QStringLiteral("single"));
    session.technician = technician;
    const qint64 id = store.beginSession(session);
    for (int i = first; i <= last; ++i)
        store.addRecord(id, single(i));
    store.endSession(id);
}

void liveRun(HistoryStore &store, int readings)
{
    const qint64 id = store.beginSession(historytest::meter(QStringLiteral("live")));
    const QDateTime start(QDate(2024, 5, 6), QTime(10, 0));
    for (int i = 0; i < readings; ++i) {
        HistoryStore::LiveReading reading{start.addMSecs(500 * i), QStringLiteral("1310"),
                                          QString::number(-10.0 - i / 100.0, 'f', 2), QStringLiteral("dBm"),
                                          QStringLiteral("CW"), QStringLiteral("-10.00"), QStringLiteral("0.099mw")};
        reading.power = -10.0 - i / 100.0 - 1.0 / 3000.0;
        store.addLiveReading(id, reading);
    }
    store.endSession(id);
}

// Texts a spreadsheet, SQL or an array literal could take for syntax.
const QStringList Awkward = {
    QStringLiteral("o'brien"),        QStringLiteral("back\\slash \\'"), QStringLiteral("\"quoted\", {a,b}"),
    QStringLiteral("NULL"),           QStringLiteral("line\nbreak"),      QStringLiteral("机房 \u00e9"),
    QStringLiteral("$1 ? :name ::x"), QString(),
};

// The measurements rows without the ids each database gives itself, sorted.
const char *const Columns = "technician, host, meter_model, meter_version, meter_kind, family, record_number, name,"
                            " time, time_text, wavelength, power_dbm, power_text, unit, reference, watt, frequency,"
                            " verdict";

QStringList rowsOf(QSqlQuery &query)
{
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.record().count(); ++i)
            cells << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
        rows << cells.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

QStringList fileRows(const QString &file, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(file);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql))
            rows = rowsOf(query);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    return rows;
}

bool fileExec(const QString &file, const QString &sql)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("exec"));
        db.setDatabaseName(file);
        ok = db.open() && QSqlQuery(db).exec(sql);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("exec"));
    return ok;
}

// Threads of this process whose name begins so (Qt names them after their
// QThread's object name, cut to 15 characters).
int threadsNamed(const QByteArray &prefix)
{
    int count = 0;
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (name.open(QIODevice::ReadOnly) && name.readAll().startsWith(prefix))
            ++count;
    }
    return count;
}

// Runs `action` on a thread of its own after `seconds`, unless destroyed first.
class Later
{
public:
    Later(int seconds, std::function<void()> action)
        : waiter([this, seconds, action]() {
            std::unique_lock<std::mutex> hold(lock);
            if (!changed.wait_for(hold, std::chrono::seconds(seconds), [this]() { return cancelled; })) {
                done = true;
                action();
            }
        })
    {
    }
    ~Later()
    {
        {
            std::lock_guard<std::mutex> hold(lock);
            cancelled = true;
        }
        changed.notify_all();
        waiter.join();
    }
    bool happened()
    {
        std::lock_guard<std::mutex> hold(lock);
        return done;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool cancelled = false;
    bool done = false;
    std::thread waiter;
};

} // namespace

class TestHistorySync : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PgCluster> cluster;
    QTemporaryDir dir;
    int databases = 0;

    // A new empty database on the cluster, as its name.
    QString freshDatabase()
    {
        const QString name = QStringLiteral("team%1").arg(++databases);
        return cluster->createDatabase(name) ? name : QString();
    }

    QStringList serverRows(const QString &database, const QString &sql)
    {
        QStringList rows;
        cluster->query(database, sql, [&rows](QSqlQuery &query) { rows = rowsOf(query); });
        return rows;
    }

    // Each table's rows in the file and on the server.
    void compareCounts(const QString &file, const QString &database)
    {
        for (const char *table : {"sessions", "records", "readings", "session_records", "live_readings", "measurements"}) {
            const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table));
            QCOMPARE(cluster->scalar(database, sql), qint64(historytest::scalar(file, sql)));
        }
    }

private slots:
    void initTestCase()
    {
        const QString missing = PgCluster::missing();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(dir.isValid());
        // Thousands of records decoded: the decoder's trace would drown the log.
        QLoggingCategory::setFilterRules(QStringLiteral("lumisk.link.debug=false"));
        cluster = std::make_unique<PgCluster>();
        QVERIFY2(cluster->init(), qPrintable(cluster->error()));
    }

    void cleanupTestCase()
    {
        cluster.reset();
        QLoggingCategory::setFilterRules(QString());
    }

    // The server's views have the file's columns and, after the first sync,
    // the file's rows: records downloaded twice counted once under the
    // earlier session, texts of every kind as they were.
    void syncIntoEmptyServer()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("empty.sqlite"));
        HistoryStore store(file);
        QVERIFY(store.open());
        download(store, QStringLiteral("ana"), 1, 200);
        download(store, QStringLiteral("bo"), 151, 250);
        for (const QString &text : Awkward) {
            HistoryStore::Session session = historytest::meter(QStringLiteral("single"), text);
            session.technician = text;
            const qint64 id = store.beginSession(session);
            HistoryStore::Record record = single(1);
            record.name = text;
            record.readings.first().reference = text;
            store.addRecord(id, record);
            store.endSession(id);
        }
        {
            const qint64 id = store.beginSession(historytest::meter(QStringLiteral("pon")));
            for (int i = 1; i <= 30; ++i)
                store.addRecord(id, pon(i));
            store.endSession(id);
        }
        liveRun(store, 40);
        HistorySync *sync = store.startSync(cluster->address(database));
        QVERIFY(sync);
        QTRY_COMPARE_WITH_TIMEOUT(sync->state(), HistorySync::Synced, SyncTimeoutMs);
        QCOMPARE(sync->waiting(), 0);

        for (const char *view : {"measurements", "session_measurements"}) {
            const QString name = QLatin1String(view);
            const QStringList fileColumns =
                fileRows(file, QStringLiteral("SELECT cid, name FROM pragma_table_info('%1')").arg(name));
            QVERIFY(fileColumns.size() > 10);
            QCOMPARE(serverRows(database, QStringLiteral("SELECT ordinal_position - 1, column_name"
                                                         " FROM information_schema.columns WHERE table_name = '%1'")
                                              .arg(name)),
                     fileColumns);
            const QString rows = QStringLiteral("SELECT %1 FROM %2").arg(QLatin1String(Columns), QLatin1String(view));
            QCOMPARE(serverRows(database, rows), fileRows(file, rows));
        }
        const QString counted = QStringLiteral("SELECT COUNT(*) FROM measurements WHERE family = 'single'");
        const QString readings = QStringLiteral("SELECT COUNT(*) FROM readings r JOIN records c ON c.id = r.record"
                                                " WHERE c.family = 'single'");
        QCOMPARE(historytest::scalar(file, counted), historytest::scalar(file, readings));
        QVERIFY(historytest::scalar(file, counted) >= 250);
        // bo brought records 201 to 250 first (one reading each).
        QCOMPARE(historytest::scalar(file, QStringLiteral("SELECT COUNT(*) FROM measurements WHERE technician = 'bo'")),
                 50);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM measurements WHERE technician = 'bo'")),
                 qint64(50));
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM sessions WHERE ended_utc IS NULL")), 0);
    }

    // The server vanishes between batches (or inside one) and comes back.
    void serverStoppedMidSync()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("stopped.sqlite"));
        HistoryStore store(file);
        QVERIFY(store.open());
        download(store, QStringLiteral("ana"), 1, 6000);
        liveRun(store, 1500);
        QVERIFY(store.flush());

        HistorySync sync(file, cluster->address(database));
        sync.setBatchRows(300);
        sync.setRetryDelays(50, 400);
        bool stopped = false;
        bool sawUnreachable = false;
        connect(&sync, &HistorySync::stateChanged, this, [&] {
            if (!stopped && sync.state() == HistorySync::Waiting) {
                stopped = true;
                QVERIFY2(cluster->stop(), qPrintable(cluster->error()));
            }
            sawUnreachable = sawUnreachable || sync.state() == HistorySync::Unreachable;
        });
        sync.start();
        QTRY_VERIFY_WITH_TIMEOUT(stopped, SyncTimeoutMs);
        // Rows keep coming while the server is away.
        download(store, QStringLiteral("ana"), 6001, 6500);
        QVERIFY(store.flush());
        sync.nudge();
        QTRY_VERIFY_WITH_TIMEOUT(sawUnreachable, SyncTimeoutMs);
        QVERIFY(sync.waiting() > 0);

        QVERIFY2(cluster->start(), qPrintable(cluster->error()));
        QTRY_VERIFY_WITH_TIMEOUT(sync.state() == HistorySync::Synced && sync.waiting() == 0, SyncTimeoutMs);
        compareCounts(file, database);
        QCOMPARE(historytest::scalar(file, QStringLiteral("SELECT COUNT(*) FROM records")), 6500);
    }

    // A server that stops answering: a table another connection keeps locked
    // (this address turns the server's lock limit off, so that only stop()
    // can end the wait) or a server stopped with SIGSTOP (the sync gives the
    // call up by itself). stop() returns while the server is still stuck,
    // and once it is free the next sync sends everything, once.
    void stalledServer_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("table locked") << true;
        QTest::newRow("server stopped") << false;
    }

    void stalledServer()
    {
        QFETCH(bool, locked);
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("stalled-%1.sqlite").arg(database));
        HistoryStore store(file);
        QVERIFY(store.open());
        download(store, QStringLiteral("ana"), 1, 20);
        QVERIFY(store.flush());
        auto sync = std::make_unique<HistorySync>(
            file, cluster->address(database) + (locked ? QStringLiteral(" options='-c lock_timeout=0'") : QString()));
        sync->setAnswerLimit(1000);
        sync->start();
        QTRY_VERIFY_WITH_TIMEOUT(sync->state() == HistorySync::Synced && sync->waiting() == 0, SyncTimeoutMs);

        // Should stop() hang, the server frees it after this long: it ends the
        // lock holder's idle transaction, or the test lets it go on.
        constexpr int RescueS = 40;
        const QString holderName = QStringLiteral("holder");
        QSqlDatabase holder;
        std::unique_ptr<Later> rescue;
        if (locked) {
            holder = cluster->open(database, holderName);
            QSqlQuery query(holder);
            QVERIFY(query.exec(QStringLiteral("SET idle_in_transaction_session_timeout = '%1s'").arg(RescueS)));
            QVERIFY(holder.transaction());
            QVERIFY(query.exec(QStringLiteral("LOCK TABLE sessions, records, readings, session_records, live_readings"
                                              " IN ACCESS EXCLUSIVE MODE")));
        } else {
            QVERIFY(cluster->pause());
            PgCluster *server = cluster.get();
            rescue = std::make_unique<Later>(RescueS, [server]() { server->resume(); });
        }
        download(store, QStringLiteral("ana"), 21, 40);
        QVERIFY(store.flush());
        sync->nudge();
        if (locked) {
            // The sync's insert waits for the lock.
            QTRY_VERIFY_WITH_TIMEOUT(
                [&]() {
                    QSqlQuery waiting(holder);
                    return waiting.exec(QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE NOT granted"))
                        && waiting.next() && waiting.value(0).toInt() > 0;
                }(),
                SyncTimeoutMs);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(sync->state() == HistorySync::Unreachable, SyncTimeoutMs);
            QVERIFY2(sync->error().contains(QLatin1String("did not answer")), qPrintable(sync->error()));
        }
        sync.reset();
        if (locked) {
            QVERIFY2(QSqlQuery(holder).exec(QStringLiteral("SELECT 1")), "stop() waited for the lock");
            // Not left waiting either: its call was broken off and it ended.
            QTRY_COMPARE(threadsNamed("lumisk-team-syn"), 0);
            holder.rollback();
            holder = QSqlDatabase();
            QSqlDatabase::removeDatabase(holderName);
        } else {
            QVERIFY2(!rescue->happened(), "stop() waited for the server");
            rescue.reset();
            QVERIFY(cluster->resume());
        }

        HistorySync again(file, cluster->address(database));
        again.start();
        QTRY_VERIFY_WITH_TIMEOUT(again.state() == HistorySync::Synced && again.waiting() == 0, SyncTimeoutMs);
        compareCounts(file, database);
    }

    // Rows a tool left behind by deleting with the foreign keys off (links
    // to a record that is gone, live readings of a session that is gone)
    // cannot be sent: they are not waiting, and the sync comes to rest.
    void orphanedRowsAreNotWaiting()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("orphans.sqlite"));
        {
            HistoryStore store(file);
            QVERIFY(store.open());
            download(store, QStringLiteral("ana"), 1, 5);
            liveRun(store, 3);
        }
        QVERIFY(fileExec(file, QStringLiteral("DELETE FROM records WHERE number = 3")));
        QVERIFY(fileExec(file, QStringLiteral("DELETE FROM sessions WHERE kind = 'live'")));
        HistorySync sync(file, cluster->address(database));
        sync.start();
        QTRY_VERIFY_WITH_TIMEOUT(sync.state() == HistorySync::Synced && sync.waiting() == 0, SyncTimeoutMs);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM session_records")), 4);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM live_readings")), 0);
    }

    // Another program holds the file's write lock when the sync comes to
    // mark a batch the server took: the sync says it waits on the file (the
    // server is not called unreachable), and once the file is free the batch
    // goes again, the server skipping what it has: nothing lost or doubled.
    void refusedMarkIsRetried()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("marks.sqlite"));
        HistoryStore store(file);
        QVERIFY(store.open());
        download(store, QStringLiteral("ana"), 1, 50);
        QVERIFY(store.flush());
        {
            // The server adopted, so that the next sync writes the file only to mark.
            HistorySync first(file, cluster->address(database));
            first.start();
            QTRY_VERIFY_WITH_TIMEOUT(first.state() == HistorySync::Synced && first.waiting() == 0, SyncTimeoutMs);
        }
        download(store, QStringLiteral("bo"), 51, 120);
        liveRun(store, 30);
        QVERIFY(store.flush());

        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(file);
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
        HistorySync sync(file, cluster->address(database));
        sync.setRetryDelays(50, 400);
        sync.start();
        QTRY_VERIFY_WITH_TIMEOUT(sync.state() == HistorySync::Waiting && !sync.error().isEmpty(), SyncTimeoutMs);
        QVERIFY2(sync.error().contains(QLatin1String("cannot be written")), qPrintable(sync.error()));
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM session_records")), qint64(120));
        QVERIFY(sync.waiting() > 0);
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("COMMIT")));
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));

        QTRY_VERIFY_WITH_TIMEOUT(sync.state() == HistorySync::Synced && sync.waiting() == 0, SyncTimeoutMs);
        compareCounts(file, database);
    }

    // The server names itself; a file that meets another server (here the
    // same one under a new name, quotes and all) sends it everything again,
    // and keeps the name exactly as the server gave it.
    void anotherServerGetsEverything()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString file = dir.filePath(QStringLiteral("adopted.sqlite"));
        {
            HistoryStore store(file);
            QVERIFY(store.open());
            download(store, QStringLiteral("ana"), 1, 30);
            liveRun(store, 10);
        }
        const QString uid = QStringLiteral("x'); DELETE FROM sessions; --");
        for (int round = 0; round < 2; ++round) {
            HistorySync sync(file, cluster->address(database));
            sync.start();
            QTRY_VERIFY_WITH_TIMEOUT(sync.state() == HistorySync::Synced && sync.waiting() == 0, SyncTimeoutMs);
            sync.stop();
            compareCounts(file, database);
            if (round == 0) {
                // Made afresh: nothing of the file there any more.
                for (const char *table : {"sessions", "records", "readings", "session_records", "live_readings"})
                    QVERIFY(cluster->exec(QStringLiteral("TRUNCATE %1").arg(QLatin1String(table)), database));
                QVERIFY(cluster->exec(QStringLiteral("UPDATE lumisk_schema SET server_uid = 'x''); DELETE FROM sessions; --'"),
                                      database));
            }
        }
        QCOMPARE(fileRows(file, QStringLiteral("SELECT server_uid FROM sync_target")), QStringList{uid});
    }

    // Two PCs downloaded the same meter, a third holds a copy of the first's
    // file: one copy of each record and of each session on the server, and
    // the history page lists both technicians' sessions from it.
    void twoStoresOneCopy()
    {
        const QString database = freshDatabase();
        QVERIFY(!database.isEmpty());
        const QString first = dir.filePath(QStringLiteral("first.sqlite"));
        const QString second = dir.filePath(QStringLiteral("second.sqlite"));
        const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
        {
            HistoryStore store(first);
            QVERIFY(store.open());
            download(store, QStringLiteral("ana"), 1, 150);
        }
        QVERIFY(QFile::copy(first, copy));
        {
            HistoryStore store(second);
            QVERIFY(store.open());
            download(store, QStringLiteral("bo"), 1, 150);
        }
        std::vector<std::unique_ptr<HistorySync>> syncs;
        for (const QString &file : {first, second, copy}) {
            syncs.push_back(std::make_unique<HistorySync>(file, cluster->address(database)));
            syncs.back()->setBatchRows(40);
            syncs.back()->start();
        }
        for (const auto &sync : syncs)
            QTRY_VERIFY_WITH_TIMEOUT(sync->state() == HistorySync::Synced && sync->waiting() == 0, SyncTimeoutMs);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM records")), 150);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM readings")),
                 qint64(historytest::scalar(first, QStringLiteral("SELECT COUNT(*) FROM readings"))));
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM sessions")), 2);
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM session_records")), 300);
        // Every reading counted once, listed once per session.
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM measurements")),
                 cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM readings")));
        QCOMPARE(cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM session_measurements")),
                 2 * cluster->scalar(database, QStringLiteral("SELECT COUNT(*) FROM readings")));
        syncs.clear();

        HistoryStore store(second);
        QVERIFY(store.open());
        QVERIFY(store.startSync(cluster->address(database)));
        HistoryForm page;
        page.setStore(&store);
        page.refresh();
        auto *source = page.findChild<QComboBox *>(QStringLiteral("historySourceCombo"));
        auto *table = page.findChild<QTableWidget *>(QStringLiteral("historyTable"));
        QVERIFY(source && table);
        QCOMPARE(table->rowCount(), 1);
        source->setCurrentIndex(1);
        page.refresh();
        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 2, SyncTimeoutMs);
        QStringList technicians;
        for (int row = 0; row < 2; ++row) {
            technicians << table->item(row, HistoryForm::TechnicianColumn)->text();
            QCOMPARE(table->item(row, HistoryForm::CountColumn)->text(), QStringLiteral("150"));
        }
        technicians.sort();
        QCOMPARE(technicians, (QStringList{QStringLiteral("ana (bench-pc)"), QStringLiteral("bo (bench-pc)")}));
    }
};

LUMISK_TEST(TestHistorySync)

// How `server=` is read: libpq keywords or a URI, never a password.
class TestServerAddress : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keywords"); // as key=value, joined by " | "
        QTest::addColumn<bool>("passwordDropped");
        QTest::addColumn<bool>("valid");
        QTest::newRow("keywords") << "host=db.example  port = 5433 dbname=lumisk user=ana"
                                  << "host=db.example | port=5433 | dbname=lumisk | user=ana" << false << true;
        QTest::newRow("quoted") << R"(host=db dbname='team history' application_name='it\'s')"
                                << "host=db | dbname=team history | application_name=it's" << false << true;
        QTest::newRow("keyword password") << "host=db password=secret user=ana" << "host=db | user=ana" << true << true;
        QTest::newRow("uri") << "postgresql://ana@db.example:5433/lumisk?sslmode=require"
                             << "user=ana | host=db.example | port=5433 | dbname=lumisk | sslmode=require" << false
                             << true;
        QTest::newRow("uri password") << "postgres://ana:secret@db/lumisk" << "user=ana | host=db | dbname=lumisk"
                                      << true << true;
        QTest::newRow("uri socket, escapes") << "postgresql://%2Fvar%2Frun%2Fpostgresql/team%20a"
                                             << "host=/var/run/postgresql | dbname=team a" << false << true;
        QTest::newRow("uri two hosts, ipv6") << "postgresql://[::1]:5432,db2/lumisk"
                                             << "host=::1,db2 | port=5432, | dbname=lumisk" << false << true;
        QTest::newRow("no value") << "host=db dbname" << "" << false << false;
        QTest::newRow("open quote") << "host='db" << "" << false << false;
    }

    // The limits every connection gets, but those the address sets itself.
    void limits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("settings");
        const QString ours = QStringLiteral("connect_timeout=5 keepalives_idle=10 keepalives_interval=5 keepalives_count=3"
                                            " tcp_user_timeout=30000 fallback_application_name=lumisk");
        const QString statement = QStringLiteral("SET statement_timeout = 20000");
        const QString lock = QStringLiteral("SET lock_timeout = 10000");
        QTest::newRow("none set") << "host=db user=ana" << ours << QStringList{statement, lock};
        QTest::newRow("some set") << "host=db keepalives_idle=60 connect_timeout=2 options='-c statement_timeout=0'"
                                  << "keepalives_idle='60' connect_timeout='2' options='-c statement_timeout=0'"
                                     " keepalives_interval=5 keepalives_count=3 tcp_user_timeout=30000"
                                     " fallback_application_name=lumisk"
                                  << QStringList{lock};
        QTest::newRow("uri, other spelling") << "postgresql://db/x?options=--Lock-Timeout%3D1s"
                                             << "options='--Lock-Timeout=1s' " + ours << QStringList{statement};
    }

    void limits()
    {
        QFETCH(QString, text);
        QFETCH(QString, options);
        QFETCH(QStringList, settings);
        const ServerAddress address = ServerAddress::parse(text);
        QCOMPARE(address.connectOptions(), options);
        QCOMPARE(address.sessionSettings(), settings);
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, keywords);
        QFETCH(bool, passwordDropped);
        QFETCH(bool, valid);
        const ServerAddress address = ServerAddress::parse(text);
        QStringList pairs;
        for (const auto &pair : address.keywords)
            pairs << pair.first + QLatin1Char('=') + pair.second;
        QCOMPARE(pairs.join(QStringLiteral(" | ")), keywords);
        QCOMPARE(address.passwordDropped, passwordDropped);
        QCOMPARE(address.error.isEmpty(), valid);
    }
};

LUMISK_TEST(TestServerAddress)

#include "tst_historysync.moc"
