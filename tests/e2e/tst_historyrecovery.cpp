// The history after things went wrong: a window killed in the middle of a
// download (a child process, SIGKILL) leaves its records for the next start,
// which offers them once; a history file that cannot be used is said once and
// downloads and reports go on without it; a team server that keeps the sync
// waiting does not keep the window from closing; the window and lumisk-cli
// writing one file while a third program holds its write lock lose nothing.

#include "e2esupport.h"

#include "domain/configuration.h"
#include "history/historystore.h"
#include "history/pgcluster.h"
#include "views/opmform.h"
#include "widgets/chartform.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>

using namespace e2e;

namespace {

// The child of interruptedDownloadIsOffered: a window that downloads until
// it is killed.
int downloadUntilKilled()
{
    prepareProcess();
    MainWindow child;
    child.show();
    if (!connectWindow(&child))
        return 1;
    button(&child, "opmBtn")->click();
    button(&child, "downloadBtn")->click();
    QTest::qWait(600000);
    return 0;
}

int storedRecords(const QString &file)
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("recovery-reader"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT COUNT(*) FROM session_records")) && query.next())
                count = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("recovery-reader"));
    return count;
}

// The history file windows of this test use, for as long as it lives.
class HistoryFile
{
public:
    explicit HistoryFile(const QString &path) : previous(qgetenv("LUMISK_HISTORY_DB"))
    {
        qputenv("LUMISK_HISTORY_DB", path.toLocal8Bit());
    }
    ~HistoryFile() { qputenv("LUMISK_HISTORY_DB", previous); }

private:
    QByteArray previous;
};

} // namespace

class TestHistoryRecovery : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;
    QTemporaryDir dir;

    // Saves the page shown; the numbers in column A of the report.
    QStringList savedNumbers()
    {
        QDir reports(dir.filePath(QStringLiteral("reports")));
        reports.mkpath(QStringLiteral("."));
        for (const QString &old : reports.entryList({"*.xlsx"}))
            reports.remove(old);
        MainWindow::setDirectoryChooser([reports]() { return reports.path(); });
        QString message;
        answerMessage("yesBtn", &message);
        button(window.get(), "saveBtn")->click();
        if (!QTest::qWaitFor([&message]() { return !message.isEmpty(); }, 10000))
            return {};
        MainWindow::setDirectoryChooser(nullptr);
        const QStringList files = reports.entryList({"*.xlsx"});
        QStringList numbers, names;
        QString error;
        if (files.size() == 1)
            readReport(reports.filePath(files.first()), &numbers, &names, &error);
        return numbers;
    }

private slots:
    void initTestCase()
    {
        prepareProcess();
        QVERIFY(dir.isValid());
    }

    void cleanup()
    {
        if (window && isConnected(window.get()) && !window->isImporting())
            button(window.get(), "connectBtn")->click();
        window.reset();
        sim.stop();
        QTest::qWait(50);
    }

    void interruptedDownloadIsOffered()
    {
        const QString file = dir.filePath(QStringLiteral("killed.sqlite"));
        QVERIFY(sim.start({"--kind", "5", "--records", "2000", "--trickle", "19200@records"}));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), file);
        env.insert(QStringLiteral("LUMISK_SERIAL_PORTS"), sim.linkPath());
        env.insert(QStringLiteral("LUMISK_TEST_CHILD"), QStringLiteral("downloadUntilKilled"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("lumisk.*.debug=false"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.setStandardOutputFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted());
        // Records reach the file while the download goes, not at its end.
        QVERIFY(QTest::qWaitFor([&]() { return storedRecords(file) >= 30; }, 60000));
        child.kill(); // SIGKILL: nothing of the window's own ending runs
        QVERIFY(child.waitForFinished());
        const int stored = storedRecords(file);
        const int asked = requestedRecords(sim, "06").size();
        QVERIFY2(stored >= 30 && stored <= asked, qPrintable(QStringLiteral("%1 of %2").arg(stored).arg(asked)));
        sim.stop();

        const HistoryFile history(file);
        QString offer;
        answerMessage("yesBtn", &offer);
        window = std::make_unique<MainWindow>();
        window->show();
        QTRY_VERIFY(!offer.isEmpty());
        QTRY_VERIFY(widget(window.get(), "opmTable")->isVisible());
        QCOMPARE(widget<OpmForm>(window.get(), "opmTable")->itemCount(), stored);
        // Every record up to the last one committed, in order.
        QStringList expected;
        for (int number = 1; number <= stored; ++number)
            expected << QString::number(number);
        QCOMPARE(savedNumbers(), expected);

        // Offered once only.
        window.reset();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(testsupport::noModalFor(300));
    }

    // A history that cannot be used: said once, and a download and its report
    // work as without history.
    void unusableHistoryIsSaidOnce_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("said");
        QTest::newRow("folder that cannot be made") << "plain-file/history.sqlite" << "History is off";
        QTest::newRow("damaged file") << "damaged.sqlite" << ".corrupt-";
    }
    void unusableHistoryIsSaidOnce()
    {
        QFETCH(QString, file);
        QFETCH(QString, said);
        QFile blocker(dir.filePath(QStringLiteral("plain-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QFile damaged(dir.filePath(QStringLiteral("damaged.sqlite")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();

        const HistoryFile history(dir.filePath(file));
        QString message;
        answerMessage("yesBtn", &message);
        window = std::make_unique<MainWindow>();
        window->show();
        QTRY_VERIFY(!message.isEmpty());
        QVERIFY2(message.contains(said), qPrintable(message));

        QVERIFY(sim.start({"--kind", "5", "--records", "12"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));
        button(window.get(), "opmBtn")->click();
        button(window.get(), "downloadBtn")->click();
        QVERIFY(QTest::qWaitFor([this]() { return !window->isImporting(); }, 30000));
        QCOMPARE(widget<OpmForm>(window.get(), "opmTable")->itemCount(), 12);
        QCOMPARE(savedNumbers().size(), 12);

        // A new window on the same file says nothing more.
        button(window.get(), "connectBtn")->click();
        QTRY_VERIFY(!isConnected(window.get()));
        window.reset();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(testsupport::noModalFor(300));
    }

    // The team server's tables stay locked by another connection (this
    // address turns the server's lock limit off) while the sync waits to
    // send a download: the window closes all the same, while the lock is
    // still held, and its serial port is free for another program.
    void windowClosesWhileServerWaits()
    {
        if (!PgCluster::missing().isEmpty())
            QSKIP(qPrintable(PgCluster::missing()));
        PgCluster pg;
        QVERIFY2(pg.init(), qPrintable(pg.error()));
        QVERIFY2(pg.createDatabase(QStringLiteral("team")), qPrintable(pg.error()));
        const QString settingsFile = Configuration::instance()->settingsPath();
        const QString holderName = QStringLiteral("window-holder");
        QSettings(settingsFile, QSettings::IniFormat)
            .setValue(QStringLiteral("history/server"), pg.address(QStringLiteral("team")) + " options='-c lock_timeout=0'");
        const auto cleanup = qScopeGuard([&]() {
            QSettings(settingsFile, QSettings::IniFormat).remove(QStringLiteral("history/server"));
            QSqlDatabase::removeDatabase(holderName);
        });
        const HistoryFile history(dir.filePath(QStringLiteral("team.sqlite")));
        window = std::make_unique<MainWindow>();
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(pg.scalar(QStringLiteral("team"), QStringLiteral("SELECT COUNT(*) FROM lumisk_schema")) == 1,
                                 30000);
        QSqlDatabase holder = pg.open(QStringLiteral("team"), holderName);
        QSqlQuery query(holder);
        // Should the window wait for the lock after all, the server ends
        // this transaction after a while.
        QVERIFY(query.exec(QStringLiteral("SET idle_in_transaction_session_timeout = '40s'")));
        QVERIFY(holder.transaction());
        QVERIFY(query.exec(QStringLiteral("LOCK TABLE sessions, records IN ACCESS EXCLUSIVE MODE")));

        QVERIFY(sim.start({"--kind", "6", "--records", "5"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));
        button(window.get(), "opmBtn")->click();
        button(window.get(), "downloadBtn")->click();
        QVERIFY(QTest::qWaitFor([this]() { return !window->isImporting(); }, 30000));
        QTRY_VERIFY_WITH_TIMEOUT(query.exec(QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE NOT granted"))
                                     && query.next() && query.value(0).toInt() > 0,
                                 30000);

        answerMessage("noBtn"); // keep nothing
        window->close();
        window.reset();
        QVERIFY2(query.exec(QStringLiteral("SELECT 1")), "closing the window waited for the team server");
        holder.rollback();
        QSerialPort port(sim.linkPath());
        QTRY_VERIFY2(port.isOpen() || port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    }

    // The window's live run and lumisk-cli's (on a meter of its own) write
    // one history file at once, and a third program holds its write lock for
    // 7 s in the middle, longer than SQLite itself waits: every reading of
    // both is kept, lumisk-cli exits 0 and the window says nothing.
    void sharedFileUnderAHeldLock()
    {
        const QString file = dir.filePath(QStringLiteral("shared.sqlite"));
        const HistoryFile history(file);
        const auto quietlyUntil = [](const std::function<bool()> &condition, int timeoutMs) {
            QElapsedTimer clock;
            clock.start();
            while (!condition() && clock.elapsed() < timeoutMs) {
                if (!testsupport::noModalFor(50))
                    return false;
            }
            return condition();
        };
        QVERIFY(sim.start({"--kind", "5"}));
        testsupport::MeterSim cliMeter;
        QVERIFY(cliMeter.start({"--kind", "6"}));
        testsupport::setSerialPorts({sim.linkPath()});
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(connectWindow(window.get()));
        button(window.get(), "chartBtn")->click();
        auto *chart = widget<ChartForm>(window.get(), "chart");
        button(chart, "playBtn")->click();

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMISK_SERIAL_PORTS"), cliMeter.linkPath());
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), file);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cli-config")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(LUMISK_CLI), {"sample", "--interval", "0.5s", "--duration", "5s", "-q"});
        QVERIFY(cli.waitForStarted());
        QByteArray cliOut;
        QVERIFY(quietlyUntil(
            [&]() {
                cliOut += cli.readAllStandardOutput();
                return cliOut.count('\n') >= 3 && chart->sampleCount() >= 2;
            },
            20000));

        QProcess holder;
        holder.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(LUMISK_SOURCE_DIR "/tests/e2e/hold_write_lock.py"), file, QStringLiteral("7")});
        QByteArray held;
        QVERIFY(quietlyUntil([&]() { return (held += holder.readAllStandardOutput()).contains("held"); }, 20000));
        const int samplesBefore = chart->sampleCount();
        QVERIFY(quietlyUntil([&]() { return holder.state() == QProcess::NotRunning; }, 30000));
        QVERIFY2(holder.exitCode() == 0, holder.readAllStandardError().constData());
        QVERIFY(chart->sampleCount() > samplesBefore + 4); // the window's run went on meanwhile
        QVERIFY(quietlyUntil([&]() { return cli.state() == QProcess::NotRunning; }, 30000));
        cliOut += cli.readAllStandardOutput();
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());

        button(chart, "playBtn")->click(); // a pause
        const int samples = chart->sampleCount();
        button(window.get(), "connectBtn")->click(); // the run ends with the meter
        QTRY_VERIFY(!isConnected(window.get()));
        QVERIFY(testsupport::noModalFor(100));
        QVERIFY(!window->findChild<HistoryStore *>()->isReadOnly());
        window.reset();

        HistoryStore store(file);
        QVERIFY(store.open());
        QList<int> counts;
        for (const HistoryStore::SessionSummary &session : store.sessionList()) {
            QVERIFY(session.ended.isValid());
            counts << session.count;
        }
        std::sort(counts.begin(), counts.end());
        QList<int> expected{samples, int(cliOut.count('\n')) - 1};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(counts, expected);
    }
};

LUMISK_TEST(TestHistoryRecovery)
LUMISK_TEST_CHILD(downloadUntilKilled, downloadUntilKilled)
#include "tst_historyrecovery.moc"
