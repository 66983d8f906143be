// A year of a team's history: 1 000 000 single-wave records in 5 000
// sessions (and, to see how the costs grow, the same mix at 65 535 and
// 250 000 records). Each history file is made once, through the store's own
// writer, and kept in build-bench/bighistory/ for the next runs.
//
// The figures: a cold start with the big file, the History page listing
// sessions (all, and by meter and a month) and searching a record's name or
// number, a 65 535-record session opened into its page, a first sync to
// PostgreSQL (a `lumisk-cli history sync` process: its time and peak
// memory, through /usr/bin/time), and `lumisk-cli history list` and `show`.

#include "firstpaint.h"
#include "history/historystore.h"
#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "pgcluster.h"
#include "records.h"
#include "session/historyreplay.h"
#include "views/historyform.h"
#include "views/opmform.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int BigRecords = 1000000;
constexpr int RecordsPerSession = 200;
constexpr int MeterRecords = 65535;
// Bumped whenever the generated history changes shape.
constexpr int Generation = 2;

const char *const Meters[] = {"LM-300", "LM-310", "LM-320", "LM-500", "LM-510",
                              "PM-200", "PM-210", "PM-220", "OPM-6A", "OPM-6B"};
constexpr int MeterCount = int(sizeof(Meters) / sizeof(Meters[0]));

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

struct BigFile {
    QString path;
    int sessions = 0;
    qint64 fullSession = 0;   // the 65 535-record session (the million only)
    qint64 typicalSession = 0; // a session of RecordsPerSession records
};

int sessionsFor(int records)
{
    return qMax(1, records / RecordsPerSession);
}

// Sessions follow each other through a year, ten a working day.
QDateTime startOf(int session, int sessions)
{
    const QDateTime first(QDate(2025, 12, 1), QTime(7, 0), Qt::UTC);
    return first.addSecs(qint64(session) * 365 * 86400 / sessions);
}

// A site's cables, as technicians name them: ST0412-OLT3-P12.
QString siteOf(int session)
{
    return QStringLiteral("ST%1").arg(session / 5, 4, 10, QLatin1Char('0'));
}

QString folder()
{
    const QString dir = QStringLiteral(LUMISK_BUILD_DIR "/bighistory");
    QDir().mkpath(dir);
    return dir;
}

// The records each session holds: the million keeps one full meter's worth.
std::vector<int> sessionSizes(int records)
{
    const int sessions = sessionsFor(records);
    std::vector<int> sizes(size_t(sessions), 0);
    int left = records;
    if (records >= BigRecords) {
        sizes[size_t(sessions / 2)] = MeterRecords;
        left -= MeterRecords;
    }
    const int rest = records >= BigRecords ? sessions - 1 : sessions;
    int given = 0;
    for (int s = 0; s < sessions; ++s) {
        if (sizes[size_t(s)] != 0)
            continue;
        sizes[size_t(s)] = left / rest + (given < left % rest ? 1 : 0);
        ++given;
    }
    return sizes;
}

bool generate(const QString &path, int records)
{
    for (const char *suffix : {"", "-wal", "-shm", "-sessions"})
        QFile::remove(path + QLatin1String(suffix));
    HistoryStore store(path);
    if (!store.open())
        return false;
    const std::vector<int> sizes = sessionSizes(records);
    const int sessions = int(sizes.size());
    // The meter's answers, decoded by the single-wave page's frame; each
    // session's copy gets its own cable names, number and meter time.
    std::vector<HistoryStore::Record> answers;
    OpmValueFrame frame(DevDatas::instance());
    for (int i = 1; i <= MeterRecords; ++i) {
        const StoredRecord sent = records::generatedSingle(i);
        frame.reset();
        if (frame.feed(wire::answer(sent.code, sent.fourth, sent.payload)) != DataOk)
            return false;
        answers.push_back(HistoryStore::recordFrom(QStringLiteral("single"), &frame));
    }
    int sinceCommit = 0;
    for (int s = 0; s < sessions; ++s) {
        HistoryStore::Session session;
        session.kind = QStringLiteral("single");
        session.meterModel = QLatin1String(Meters[s % MeterCount]);
        session.meterVersion = QStringLiteral("1.2");
        session.meterKind = 6;
        session.technician = QStringLiteral("tech%1").arg(s % 12 + 1);
        session.host = QStringLiteral("pc%1").arg(s % 12 + 1);
        const qint64 id = store.beginSession(session);
        if (id == 0)
            return false;
        const QDateTime taken = startOf(s, sessions).addDays(-1);
        for (int i = 1; i <= sizes[size_t(s)]; ++i) {
            HistoryStore::Record record = answers[size_t(i - 1)];
            record.number = QString::number(i);
            record.name = QStringLiteral("%1-OLT%2-P%3").arg(siteOf(s)).arg((i - 1) / 64 % 8 + 1).arg((i - 1) % 64 + 1);
            record.time = taken.addSecs(60LL * i).toString(QStringLiteral("yy/MM/dd HH:mm"));
            store.addRecord(id, record);
            if (++sinceCommit == 20000) {
                if (!store.flush())
                    return false;
                sinceCommit = 0;
            }
        }
        store.endSession(id, HistoryStore::Commit::Background);
    }
    if (!store.flush())
        return false;
    store.close();
    // The writer stamps sessions with the time they were written: spread
    // them over the year they stand for. A fresh file numbers them 1, 2, …
    // in the order they were begun.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bigyear"));
        db.setDatabaseName(path);
        if (!db.open() || !db.transaction())
            return false;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE sessions SET started_utc = ?, ended_utc = ? WHERE id = ?"));
        for (int s = 0; s < sessions; ++s) {
            const QDateTime start = startOf(s, sessions);
            query.addBindValue(start.toString(Qt::ISODateWithMs));
            query.addBindValue(start.addSecs(1200).toString(Qt::ISODateWithMs));
            query.addBindValue(s + 1);
            if (!query.exec() || query.numRowsAffected() != 1)
                return false;
        }
        query.finish();
        if (!db.commit())
            return false;
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bigyear"));
    return true;
}

// The history of `records` records, made when missing, of another shape or
// of a later schema than this build's store knows (opening it brings an
// older one up to date).
const BigFile &bigFile(int records)
{
    static std::map<int, BigFile> files;
    BigFile &file = files[records];
    if (!file.path.isEmpty())
        return file;
    const QString path = folder() + QStringLiteral("/history-%1.sqlite").arg(records);
    const QString mark = path + QStringLiteral(".made");
    const QByteArray wanted = QByteArray::number(Generation) + ' ' + QByteArray::number(records);
    QFile made(mark);
    bool usable = made.open(QIODevice::ReadOnly) && made.readAll().trimmed() == wanted;
    made.close();
    if (usable) {
        HistoryStore store(path);
        usable = store.open() && !store.isReadOnly();
    }
    if (!usable) {
        QFile::remove(mark);
        std::fprintf(stderr, "making a history of %d records in %s (once)\n", records, qPrintable(path));
        QElapsedTimer clock;
        clock.start();
        if (!generate(path, records))
            return file;
        std::fprintf(stderr, "made in %.1f s\n", clock.elapsed() / 1000.0);
        made.open(QIODevice::WriteOnly | QIODevice::Truncate);
        made.write(wanted + '\n');
        made.close();
    }
    // The writer indexes the records' names in its idle time (a file made
    // or brought up to date has them all to do): the searches are timed
    // on a history whose names are all indexed.
    {
        HistoryStore store(path);
        store.open();
        QElapsedTimer clock;
        clock.start();
        bool told = false;
        for (;;) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("names"));
            db.setDatabaseName(path);
            bool indexed = false;
            if (db.open()) {
                QSqlQuery query(db);
                indexed = query.exec(QStringLiteral("SELECT (SELECT upto FROM record_names_indexed)"
                                                    " >= (SELECT max(id) FROM records)"))
                    && query.next() && query.value(0).toBool();
            }
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("names"));
            if (indexed || clock.elapsed() > 30 * 60 * 1000)
                break;
            if (!told)
                std::fprintf(stderr, "waiting for the writer to index the names of %d records\n", records);
            told = true;
            QThread::msleep(200);
        }
        if (told)
            std::fprintf(stderr, "indexed in %.1f s\n", clock.elapsed() / 1000.0);
    }
    file.path = path;
    file.sessions = sessionsFor(records);
    const std::vector<int> sizes = sessionSizes(records);
    // Ids follow the order the sessions were written in.
    HistoryStore store(path);
    store.open();
    const QList<HistoryStore::SessionSummary> list = store.sessionList();
    for (const HistoryStore::SessionSummary &session : list) {
        if (session.count == MeterRecords && records >= BigRecords)
            file.fullSession = session.id;
        if (session.count == sizes.back())
            file.typicalSession = session.id;
    }
    return file;
}

bool haveFile(benchmark::State &state, const BigFile &file)
{
    if (file.path.isEmpty())
        state.SkipWithError("the history file could not be made");
    return !file.path.isEmpty();
}

void BM_BigColdStart(benchmark::State &state)
{
    const BigFile &file = bigFile(int(state.range(0)));
    if (!haveFile(state, file))
        return;
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("LUMISK_HISTORY_DB"), file.path);
    environment.insert(QStringLiteral("LUMISK_SERIAL_PORTS"), home.filePath(QStringLiteral("none")));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    qint64 started = 0;
    // The first start makes the settings: not timed.
    if (firstpaint::startOnce(environment, &started) < 0) {
        state.SkipWithError("the application did not start");
        return;
    }
    for (auto _ : state) {
        const qint64 painted = firstpaint::startOnce(environment, &started);
        if (painted <= started) {
            state.SkipWithError("the application did not start and say when it painted");
            return;
        }
        state.SetIterationTime((painted - started) / 1e9);
    }
}
BENCHMARK(BM_BigColdStart)->Arg(MeterRecords)->Arg(BigRecords)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The History page's refresh, as a change of its filters runs it: the meter
// list, the sessions and the table. Second argument: 0 every session (the
// page as it opens), 1 one meter and one month, 2 a site's name ("ST0012"),
// 3 a record number (every session has record 12).
void BM_BigHistoryPage(benchmark::State &state)
{
    const BigFile &file = bigFile(int(state.range(0)));
    if (!haveFile(state, file))
        return;
    HistoryStore store(file.path);
    store.open();
    HistoryForm page;
    page.resize(1000, 600);
    page.show();
    page.setStore(&store);
    auto *meter = page.findChild<QComboBox *>(QStringLiteral("historyMeterCombo"));
    auto *from = page.findChild<QDateEdit *>(QStringLiteral("historyFromEdit"));
    auto *to = page.findChild<QDateEdit *>(QStringLiteral("historyToEdit"));
    auto *search = page.findChild<QLineEdit *>(QStringLiteral("historySearchEdit"));
    page.refresh();
    const int middle = file.sessions / 2;
    switch (state.range(1)) {
    case 1: {
        const QDate day = startOf(middle, file.sessions).toLocalTime().date();
        meter->setCurrentIndex(meter->findText(QLatin1String(Meters[middle % MeterCount])));
        from->setDate(day.addDays(-15));
        to->setDate(day.addDays(15));
        break;
    }
    case 2:
        search->setText(siteOf(middle).toLower());
        break;
    case 3:
        search->setText(QStringLiteral("12"));
        break;
    }
    for (auto _ : state)
        page.refresh();
    state.counters["sessions"] = page.sessions().size();
}
BENCHMARK(BM_BigHistoryPage)
    ->ArgsProduct({{MeterRecords, 250000, BigRecords}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

void BM_BigOpenSession(benchmark::State &state)
{
    const BigFile &file = bigFile(BigRecords);
    if (!haveFile(state, file) || file.fullSession == 0) {
        state.SkipWithError("no 65 535-record session");
        return;
    }
    HistoryStore store(file.path);
    store.open();
    OpmForm page;
    page.resize(1000, 600);
    page.show();
    int taken = 0;
    for (auto _ : state) {
        taken = HistoryReplay::fill(&page, store.sessionRecords(file.fullSession), 0);
        state.PauseTiming();
        page.clearDatas();
        state.ResumeTiming();
    }
    state.counters["records"] = taken;
}
BENCHMARK(BM_BigOpenSession)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

struct Child {
    bool ok = false;
    double seconds = 0;
    double peakMiB = 0;
};

// Runs lumisk-cli with these arguments and environment additions, its
// output thrown away: its wall-clock time and its own peak memory. The
// peak comes from /usr/bin/time, a small process between this one and
// lumisk-cli: a process started straight from this one would count this
// one's size as its own (a child's peak starts from its parent's).
Child runCli(const QStringList &arguments, const QStringList &environment)
{
    Child child;
    QTemporaryDir scratch;
    const QByteArray peakFile = scratch.filePath(QStringLiteral("peak")).toLocal8Bit();
    std::vector<QByteArray> held{QByteArrayLiteral("/usr/bin/time"), QByteArrayLiteral("-f"), QByteArrayLiteral("%M"),
                                 QByteArrayLiteral("-o"), peakFile, QByteArrayLiteral(LUMISK_CLI_PROGRAM)};
    for (const QString &argument : arguments)
        held.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : held)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> heldEnv;
    for (const QString &pair : environment)
        heldEnv.push_back(pair.toLocal8Bit());
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool replaced = false;
        for (const QString &pair : environment)
            replaced = replaced || pair.toLocal8Bit().startsWith(name);
        if (!replaced)
            heldEnv.push_back(entry);
    }
    std::vector<char *> envp;
    for (QByteArray &entry : heldEnv)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return child;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return child;
    child.seconds = clock.nsecsElapsed() / 1e9;
    QFile peak(QString::fromLocal8Bit(peakFile));
    bool read = false;
    if (peak.open(QIODevice::ReadOnly))
        child.peakMiB = peak.readAll().trimmed().toDouble(&read) / 1024.0; // KiB
    child.ok = read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return child;
}

QStringList cliEnvironment(const BigFile &file, const QString &config)
{
    return {QStringLiteral("LUMISK_HISTORY_DB=") + file.path, QStringLiteral("XDG_CONFIG_HOME=") + config,
            QStringLiteral("QT_QPA_PLATFORM=offscreen")};
}

// Second argument 0: `history list`, 1: `history show` of a 200-record session.
void BM_BigCli(benchmark::State &state)
{
    const BigFile &file = bigFile(int(state.range(0)));
    if (!haveFile(state, file))
        return;
    QTemporaryDir config;
    const QStringList arguments = state.range(1) == 0
        ? QStringList{QStringLiteral("history"), QStringLiteral("list")}
        : QStringList{QStringLiteral("history"), QStringLiteral("show"), QString::number(file.typicalSession)};
    for (auto _ : state) {
        const Child run = runCli(arguments, cliEnvironment(file, config.path()));
        if (!run.ok) {
            state.SkipWithError("lumisk-cli failed (or /usr/bin/time, Debian package time, is missing)");
            return;
        }
        state.SetIterationTime(run.seconds);
    }
}
BENCHMARK(BM_BigCli)
    ->ArgsProduct({{MeterRecords, 250000, BigRecords}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

// A first sync: `lumisk-cli history sync` into an empty server database,
// with nothing in the file marked sent.
void BM_BigSync(benchmark::State &state)
{
    if (!PgCluster::missing().isEmpty()) {
        state.SkipWithError(qPrintable(PgCluster::missing()));
        return;
    }
    const int records = int(state.range(0));
    const BigFile &file = bigFile(records);
    if (!haveFile(state, file))
        return;
    PgCluster cluster;
    if (!cluster.init()) {
        state.SkipWithError(qPrintable(cluster.error()));
        return;
    }
    QTemporaryDir config;
    QDir().mkpath(config.filePath(QStringLiteral("lumisk")));
    int round = 0;
    double peak = 0;
    for (auto _ : state) {
        const QString database = QStringLiteral("big%1").arg(++round);
        cluster.createDatabase(database);
        {
            QSettings settings(config.filePath(QStringLiteral("lumisk/settings.ini")), QSettings::IniFormat);
            settings.setValue(QStringLiteral("history/server"), cluster.address(database));
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reset"));
            db.setDatabaseName(file.path);
            db.open();
            for (const char *sql : {"UPDATE sessions SET synced = 0", "UPDATE session_records SET synced = 0",
                                    "DELETE FROM sync_target", "PRAGMA wal_checkpoint(TRUNCATE)"})
                QSqlQuery(db).exec(QLatin1String(sql));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reset"));
        const Child run = runCli({QStringLiteral("history"), QStringLiteral("sync"), QStringLiteral("-q")},
                                 cliEnvironment(file, config.path()));
        const qint64 sent = cluster.scalar(database, QStringLiteral("SELECT COUNT(*) FROM session_records"));
        if (!run.ok || sent != records) {
            state.SkipWithError("the sync failed or sent less than everything");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = qMax(peak, run.peakMiB);
        cluster.exec(QStringLiteral("DROP DATABASE ") + database);
    }
    state.counters["peak_rss_MiB"] = peak;
    state.counters["records"] = records;
}
BENCHMARK(BM_BigSync)
    ->Arg(MeterRecords)
    ->Arg(250000)
    ->Arg(BigRecords)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], firstpaint::ChildFlag) == 0)
        return firstpaint::runChild(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.filePath(QStringLiteral("config")).toLocal8Bit());
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
