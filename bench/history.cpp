// The measurement history at a full meter's size (65 535 single-wave
// records): writing them through the store, opening their session into the
// single-wave page as the history page does, and a first sync of them into
// a local PostgreSQL (a throwaway cluster started here).

#include "app/historyreplay.h"
#include "history/historystore.h"
#include "history/historysync.h"
#include "link/opmvalueframe.h"
#include "pgcluster.h"
#include "records.h"
#include "views/opmform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int MeterRecords = 65535;
// What a 200 ms commit holds when records come as fast as the store takes them.
constexpr int RecordsPerCommit = 10000;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The records as the single-wave page's frame decodes the meter's answers.
const std::vector<HistoryStore::Record> &meterRecords()
{
    static std::vector<HistoryStore::Record> list;
    if (list.empty()) {
        OpmValueFrame frame;
        for (int i = 1; i <= MeterRecords; ++i) {
            const StoredRecord sent = records::generatedSingle(i);
            frame.reset();
            if (frame.feed(wire::answer(sent.code, sent.fourth, sent.payload)) == DataOk)
                list.push_back(HistoryStore::recordFrom(QStringLiteral("single"), &frame));
        }
    }
    return list;
}

HistoryStore::Session meter()
{
    HistoryStore::Session session;
    session.kind = QStringLiteral("single");
    session.meterModel = QStringLiteral("LM-300");
    session.meterVersion = QStringLiteral("1.2");
    session.meterKind = 6;
    session.technician = QStringLiteral("ana");
    session.host = QStringLiteral("bench-pc");
    return session;
}

qint64 writeSession(HistoryStore &store)
{
    const qint64 id = store.beginSession(meter());
    int sinceCommit = 0;
    for (const HistoryStore::Record &record : meterRecords()) {
        store.addRecord(id, record);
        if (++sinceCommit == RecordsPerCommit) {
            store.flush();
            sinceCommit = 0;
        }
    }
    store.endSession(id);
    return id;
}

// A file holding one full session, made once.
QString fullFile(qint64 *session = nullptr)
{
    static qint64 id = 0;
    const QString file = folder().filePath(QStringLiteral("full.sqlite"));
    if (id == 0) {
        HistoryStore store(file);
        store.open();
        id = writeSession(store);
    }
    if (session)
        *session = id;
    return file;
}

void BM_WriteRecords(benchmark::State &state)
{
    meterRecords();
    const QString file = folder().filePath(QStringLiteral("write.sqlite"));
    for (auto _ : state) {
        state.PauseTiming();
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(suffix));
        auto store = std::make_unique<HistoryStore>(file);
        store->open();
        state.ResumeTiming();
        writeSession(*store);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["records_per_s"] =
        benchmark::Counter(double(meterRecords().size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WriteRecords)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->UseRealTime();

void BM_OpenSession(benchmark::State &state)
{
    qint64 id = 0;
    HistoryStore store(fullFile(&id));
    store.open();
    OpmForm page;
    page.resize(1000, 600);
    page.show();
    int taken = 0;
    qint64 readingNs = 0;
    for (auto _ : state) {
        // Reading the file and filling the page, each timed on its own too.
        QElapsedTimer clock;
        clock.start();
        const QList<HistoryStore::Record> records = store.sessionRecords(id);
        readingNs += clock.nsecsElapsed();
        taken = HistoryReplay::fill(&page, records, 0);
        state.PauseTiming();
        page.clearDatas();
        state.ResumeTiming();
    }
    state.counters["records"] = taken;
    state.counters["read_ms"] = benchmark::Counter(readingNs / 1e6, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenSession)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->UseRealTime();

void BM_SyncToServer(benchmark::State &state)
{
    if (!PgCluster::missing().isEmpty()) {
        state.SkipWithError(qPrintable(PgCluster::missing()));
        return;
    }
    PgCluster cluster;
    if (!cluster.init()) {
        state.SkipWithError(qPrintable(cluster.error()));
        return;
    }
    const QString file = fullFile();
    if (qEnvironmentVariableIsSet("LUMISK_BENCH_PGLOG")) {
        cluster.exec(QStringLiteral("ALTER SYSTEM SET log_min_duration_statement = 0"));
        cluster.exec(QStringLiteral("SELECT pg_reload_conf()"));
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A new empty server database, and the file with nothing sent yet.
        const QString database = QStringLiteral("bench%1").arg(++round);
        cluster.createDatabase(database);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reset"));
            db.setDatabaseName(file);
            db.open();
            for (const char *sql : {"UPDATE sessions SET synced = 0", "UPDATE session_records SET synced = 0",
                                    "DELETE FROM sync_target"})
                QSqlQuery(db).exec(QLatin1String(sql));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reset"));
        state.ResumeTiming();
        HistorySync sync(file, cluster.address(database));
        sync.start();
        QElapsedTimer clock;
        clock.start();
        while (!(sync.state() == HistorySync::Synced && sync.waiting() == 0) && clock.elapsed() < 120000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        if (sync.state() != HistorySync::Synced)
            state.SkipWithError(qPrintable(sync.error()));
        state.PauseTiming();
        sync.stop();
        state.counters["server_rows"] =
            double(cluster.scalar(database, QStringLiteral("SELECT (SELECT COUNT(*) FROM records)"
                                                           " + (SELECT COUNT(*) FROM readings)"
                                                           " + (SELECT COUNT(*) FROM session_records)")));
        state.ResumeTiming();
    }
    state.counters["records"] = MeterRecords;
}
BENCHMARK(BM_SyncToServer)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
