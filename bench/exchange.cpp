// Time of one request/answer exchange with a simulated meter through a
// pseudo-terminal, and of a single-wave record trickled at 115200 baud
// against the time the line itself needs for it.

#include "link/commands.h"
#include "link/frame.h"
#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "link/uart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int RecordCount = 1000;
constexpr int TrickleBaud = 115200;
constexpr int BitsPerByte = 10;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// One simulator on a temporary link, listed as the only port and connected.
class LinkedMeter
{
public:
    explicit LinkedMeter(const QStringList &args)
    {
        const QString link = dir.filePath(QStringLiteral("ttyBENCH"));
        process.start(QStringLiteral(LUMISK_METERSIM), QStringList{QStringLiteral("--link"), link} + args);
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(link) && clock.elapsed() < 10000)
            process.waitForReadyRead(20);
        qputenv("LUMISK_SERIAL_PORTS", link.toLocal8Bit());
        ok = Uart::init(false) == Uart::InitOk;
    }
    ~LinkedMeter()
    {
        Uart::releaseAll();
        process.terminate();
        process.waitForFinished(5000);
    }
    bool ok = false;

private:
    QTemporaryDir dir;
    QProcess process;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void BM_RecordExchange(benchmark::State &state)
{
    LinkedMeter meter({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"),
                       QString::number(RecordCount)});
    if (!meter.ok) {
        state.SkipWithError("no simulated meter");
        return;
    }
    std::vector<double> micros;
    int number = 0;
    for (auto _ : state) {
        OpmValueFrame frame(DevDatas::instance());
        QElapsedTimer clock;
        clock.start();
        const ParseResult result = Uart::exchange(Command::singleWaveRecord(number++ % RecordCount + 1), &frame);
        micros.push_back(clock.nsecsElapsed() / 1000.0);
        if (result != DataOk)
            state.SkipWithError("exchange failed");
    }
    state.counters["median_us"] = median(micros);
}
BENCHMARK(BM_RecordExchange)->Iterations(RecordCount)->Unit(benchmark::kMicrosecond);

void BM_TrickledSingleWave115200(benchmark::State &state)
{
    LinkedMeter meter({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"),
                       QStringLiteral("10"), QStringLiteral("--trickle"),
                       QStringLiteral("%1@records").arg(TrickleBaud)});
    if (!meter.ok) {
        state.SkipWithError("no simulated meter");
        return;
    }
    std::vector<double> micros;
    int answerBytes = 0;
    for (auto _ : state) {
        OpmValueFrame frame(DevDatas::instance());
        QElapsedTimer clock;
        clock.start();
        const ParseResult result = Uart::exchange(Command::singleWaveRecord(1), &frame);
        micros.push_back(clock.nsecsElapsed() / 1000.0);
        answerBytes = frame.payload.size() + Frame::MinimumAnswerSize;
        if (result != DataOk)
            state.SkipWithError("exchange failed");
    }
    const double lineLimit = answerBytes * BitsPerByte * 1e6 / TrickleBaud;
    state.counters["median_us"] = median(micros);
    state.counters["line_limit_us"] = lineLimit;
    state.counters["answer_bytes"] = answerBytes;
    state.counters["median_over_limit"] = median(micros) / lineLimit;
}
BENCHMARK(BM_TrickledSingleWave115200)->Iterations(200)->Unit(benchmark::kMicrosecond);

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
