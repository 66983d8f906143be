// The measurement history at a full meter's size (65 535 single-wave
// records): writing them through the store, what keeping them costs the
// window's thread during a download, opening their session into the
// single-wave page as the history page does, and a first sync of them into
// a local PostgreSQL (a throwaway cluster started here).

#include "session/historyrecorder.h"
#include "session/historyreplay.h"
#include "history/historystore.h"
#include "history/historysync.h"
#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "pgcluster.h"
#include "records.h"
#include "views/opmform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <thread>
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
        OpmValueFrame frame(DevDatas::instance());
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

// The meter's answers for the single-wave records, as the wire brings them.
const std::vector<QByteArray> &meterAnswers()
{
    static std::vector<QByteArray> list;
    if (list.empty()) {
        for (int i = 1; i <= MeterRecords; ++i) {
            const StoredRecord sent = records::generatedSingle(i);
            list.push_back(wire::answer(sent.code, sent.fourth, sent.payload));
        }
    }
    return list;
}

// What the history costs the window's thread in a download: for each record,
// HistoryRecorder::record on the page's frame and one turn of the event loop
// (where the commit timer fires), as the download session does between an
// answer and the next request. Decoding the answer and waiting for the next
// one are not counted. First argument 0: records as fast as the thread
// takes them (a full meter); N: N records a second, as a real download
// brings them. Second argument 0: the history off (the turn of the event
// loop alone), 1: on. Counters: mean microseconds per record, the longest
// single record (a stalled request) and endDownload (the last commit) in
// milliseconds.
void BM_RecordOnGuiThread(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const int perSecond = int(state.range(0));
    const bool historyOn = state.range(1) != 0;
    const size_t count = perSecond == 0 ? meterAnswers().size() : size_t(2 * perSecond);
    const QString file = folder().filePath(QStringLiteral("recorder.sqlite"));
    qputenv("LUMISK_HISTORY_DB", file.toLocal8Bit());
    OpmValueFrame frame(DevDatas::instance());
    double busy = 0, longest = 0, ending = 0;
    for (auto _ : state) {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(suffix));
        auto recorder = std::make_unique<HistoryRecorder>();
        if (historyOn)
            recorder->beginDownload(PageType::Opm);
        double taken = 0;
        const Clock::time_point start = Clock::now();
        for (size_t i = 0; i < count; ++i) {
            if (perSecond > 0) {
                const Clock::time_point slot = start + std::chrono::microseconds(qint64(i) * 1000000 / perSecond);
                std::this_thread::sleep_until(slot);
            }
            frame.reset();
            frame.feed(meterAnswers()[i]);
            const Clock::time_point before = Clock::now();
            recorder->record(PageType::Opm, &frame);
            QCoreApplication::processEvents();
            const double seconds = std::chrono::duration<double>(Clock::now() - before).count();
            taken += seconds;
            longest = std::max(longest, seconds);
        }
        const Clock::time_point before = Clock::now();
        recorder->endDownload();
        const double end = std::chrono::duration<double>(Clock::now() - before).count();
        ending += end;
        busy += taken;
        state.SetIterationTime(taken + end);
        recorder.reset();
    }
    qunsetenv("LUMISK_HISTORY_DB");
    state.counters["us_per_record"] = busy * 1e6 / double(count * state.iterations());
    state.counters["longest_ms"] = longest * 1e3;
    state.counters["end_ms"] = ending * 1e3 / double(state.iterations());
}
BENCHMARK(BM_RecordOnGuiThread)
    ->Args({0, 1})
    ->Args({3000, 0})
    ->Args({3000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime();

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
    // The recorder reads its settings (technician, team server): none here.
    qputenv("XDG_CONFIG_HOME", folder().filePath(QStringLiteral("config")).toLocal8Bit());
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
