// Time to find the meter among ports that never answer: 8 silent
// pseudo-terminals listed before one simulated meter (LUMISK_SERIAL_PORTS),
// through the window's scan and through `lumisk-cli identify`. A silent port
// costs one probe time (about 0.9 s); the ports are asked all at once.

#include "link/uart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int SilentPorts = 8;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The silent ports (pseudo-terminals whose other end is never read) and the
// meter, listed in that order.
class Ports
{
public:
    Ports()
    {
        for (int i = 0; i < SilentPorts; ++i) {
            int master = -1;
            int slave = -1;
            char name[256];
            if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
                return;
            ::close(slave);
            masters.push_back(master);
            list << QString::fromLocal8Bit(name);
        }
        const QString link = dir.filePath(QStringLiteral("ttyBENCH"));
        meter.start(QStringLiteral(LUMISK_METERSIM), {QStringLiteral("--link"), link});
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(link) && clock.elapsed() < 10000)
            meter.waitForReadyRead(20);
        list << link;
        ok = QFileInfo::exists(link);
        qputenv("LUMISK_SERIAL_PORTS", list.join(QLatin1Char(':')).toLocal8Bit());
    }
    ~Ports()
    {
        meter.terminate();
        meter.waitForFinished(5000);
        for (int master : masters)
            ::close(master);
    }
    bool ok = false;
    QStringList list;

private:
    QTemporaryDir dir;
    QProcess meter;
    std::vector<int> masters;
};

void BM_WindowFindsMeterAmongSilentPorts(benchmark::State &state)
{
    Ports ports;
    if (!ports.ok) {
        state.SkipWithError("no ports");
        return;
    }
    for (auto _ : state) {
        const Uart::PortInitState result = Uart::init(false);
        state.PauseTiming();
        Uart::releaseAll();
        if (result != Uart::InitOk)
            state.SkipWithError("no meter found");
        state.ResumeTiming();
    }
    state.counters["ports"] = ports.list.size();
}
BENCHMARK(BM_WindowFindsMeterAmongSilentPorts)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliIdentifyAmongSilentPorts(benchmark::State &state)
{
    Ports ports;
    if (!ports.ok || QByteArray(LUMISK_CLI_PROGRAM).isEmpty()) {
        state.SkipWithError("no ports or no lumisk-cli");
        return;
    }
    for (auto _ : state) {
        QProcess cli;
        cli.start(QStringLiteral(LUMISK_CLI_PROGRAM), {QStringLiteral("identify")});
        if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
            state.SkipWithError("lumisk-cli identify failed");
    }
    state.counters["ports"] = ports.list.size();
}
BENCHMARK(BM_CliIdentifyAmongSilentPorts)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
