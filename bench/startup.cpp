// Cold start: from starting a new process to the main window's first paint,
// with the application's own start-up code (runApplication, as `lumisk`
// runs it). The benchmark starts this
// same program as the child that runs the application; the child prints the
// monotonic time of its first painted window and quits.

#include "app/application.h"
#include "app/mainwindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr char ChildFlag[] = "--startup-child";
constexpr int ChildTimeoutMs = 30000;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Sees the window's first paint through; once that paint is done (the zero
// timer runs after the whole paint pass), tells the time and quits.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            QTimer::singleShot(0, []() {
                std::printf("%lld\n", static_cast<long long>(monotonicNs()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool seen = false;
};

int runChild(int argc, char **argv)
{
    FirstPaint watcher;
    return runApplication(argc, argv, [&watcher](MainWindow &window) { window.installEventFilter(&watcher); });
}

// One start of the application; its monotonic time of the first paint, or -1.
qint64 startOnce(const QProcessEnvironment &environment, qint64 *started)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    *started = monotonicNs();
    child.start(QStringLiteral("/proc/self/exe"), {QString::fromLatin1(ChildFlag)});
    if (!child.waitForFinished(ChildTimeoutMs) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const qint64 painted = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    return ok ? painted : -1;
}

// Settings and history of their own; the first start, which creates them,
// is not timed: the figure is that of every later start.
void BM_ColdStart(benchmark::State &state)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("LUMISK_HISTORY_DB"), home.filePath(QStringLiteral("history.sqlite")));
    environment.insert(QStringLiteral("LUMISK_SERIAL_PORTS"), home.filePath(QStringLiteral("none")));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    qint64 started = 0;
    if (startOnce(environment, &started) < 0) {
        state.SkipWithError("the application did not start");
        return;
    }
    for (auto _ : state) {
        const qint64 painted = startOnce(environment, &started);
        if (painted <= started) {
            state.SkipWithError("the application did not start and say when it painted");
            return;
        }
        state.SetIterationTime((painted - started) / 1e9);
    }
}

BENCHMARK(BM_ColdStart)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], ChildFlag) == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
