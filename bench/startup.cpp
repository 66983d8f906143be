// Cold start: from starting a new process to the main window's first paint,
// with the application's own start-up code (see firstpaint.h), on a fresh
// history.

#include "firstpaint.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

using firstpaint::startOnce;

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
    if (argc > 1 && std::strcmp(argv[1], firstpaint::ChildFlag) == 0)
        return firstpaint::runChild(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
