// A whole single-wave download through the main window, from the download
// button to the meter's "no further record", against a simulated meter on a
// pseudo-terminal: once with the meter answering at once, once with every
// answer trickled at 115200 baud, the latter compared with the time the line
// itself needs for every request and answer (10 bits a byte).

#include "app/mainwindow.h"
#include "link/requestledger.h"
#include "link/commands.h"
#include "link/opmvalueframe.h"
#include "link/uartworker.h"
#include "views/opmform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int RecordCount = 2000;
constexpr int TrickleBaud = 115200;
constexpr int BitsPerByte = 10;
constexpr int TimeoutMs = 120000;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

bool waitFor(const std::function<bool()> &condition, int timeoutMs = TimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

class Meter
{
public:
    explicit Meter(const QStringList &args)
    {
        link = dir.filePath(QStringLiteral("ttyDOWNLOAD"));
        process.start(QStringLiteral(LUMISK_METERSIM),
                      QStringList{QStringLiteral("--link"), link, QStringLiteral("--kind"), QStringLiteral("6"),
                                  QStringLiteral("--records"), QString::number(RecordCount)}
                          + args);
        waitFor([this]() { return QFileInfo::exists(link); }, 10000);
        qputenv("LUMISK_SERIAL_PORTS", link.toLocal8Bit());
    }
    ~Meter()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    QString link;

private:
    QTemporaryDir dir;
    QProcess process;
};

bool connectWindow(MainWindow *window)
{
    window->findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    return waitFor([window]() { return window->findChild<QPushButton *>(QStringLiteral("opmBtn"))->isEnabled(); },
                   10000);
}

void disconnectWindow(MainWindow *window)
{
    waitFor([]() { return RequestLedger::instance()->inFlightCount() == 0; }, 10000);
    window->findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    waitFor([]() { return !UartWorker::instance()->isConnected(); }, 10000);
}

// Seconds the line needs for every record exchange: each request and each
// answer as long as it really is (names and texts vary in length). The
// simulator paces only its answers, so the answers' share is kept apart.
double lineSeconds(MainWindow *window, double *answerSeconds)
{
    qint64 answerBytes = 0;
    UartWorker *worker = UartWorker::instance();
    qint64 bytes = 0;
    for (int number = 1; number <= RecordCount; ++number) {
        const QByteArray request = Command::singleWaveRecord(number);
        OpmValueFrame frame;
        bool done = false;
        const auto connection = QObject::connect(worker, &UartWorker::responsed, window,
                                                 [&done](ParseResult) { done = true; });
        QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection, Q_ARG(QByteArray, request),
                                  Q_ARG(Frame *, &frame));
        waitFor([&done]() { return done; }, 10000);
        QObject::disconnect(connection);
        bytes += request.size() + frame.body.size() + 1;
        answerBytes += frame.body.size() + 1;
    }
    *answerSeconds = double(answerBytes) * BitsPerByte / TrickleBaud;
    return double(bytes) * BitsPerByte / TrickleBaud;
}

void download(benchmark::State &state, const QStringList &meterArgs, bool paced)
{
    Meter meter(meterArgs);
    double lineLimit = 0;
    for (auto _ : state) {
        auto window = std::make_unique<MainWindow>();
        if (!connectWindow(window.get())) {
            state.SkipWithError("the simulated meter did not connect");
            return;
        }
        window->findChild<QPushButton *>(QStringLiteral("opmBtn"))->click();
        auto *page = window->findChild<OpmForm *>(QStringLiteral("opmTable"));
        QElapsedTimer clock;
        clock.start();
        window->findChild<QPushButton *>(QStringLiteral("downloadBtn"))->click();
        if (!waitFor([&window]() { return !window->isImporting(); })) {
            state.SkipWithError("the download did not finish");
            return;
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        if (page->itemCount() != RecordCount) {
            state.SkipWithError("records missing");
            return;
        }
        state.counters["records_per_s"] = RecordCount / seconds;
        if (paced) {
            state.PauseTiming();
            double answerLimit = 0;
            lineLimit = lineSeconds(window.get(), &answerLimit);
            state.ResumeTiming();
            state.counters["line_limit_records_per_s"] = RecordCount / lineLimit;
            state.counters["of_line_rate"] = lineLimit / seconds;
            state.counters["of_answer_line_rate"] = answerLimit / seconds;
        }
        disconnectWindow(window.get());
    }
}

void BM_DownloadUnpaced(benchmark::State &state)
{
    download(state, {}, false);
}

void BM_DownloadTrickled115200(benchmark::State &state)
{
    download(state, {QStringLiteral("--trickle"), QStringLiteral("%1@records").arg(TrickleBaud)}, true);
}

} // namespace

BENCHMARK(BM_DownloadUnpaced)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadTrickled115200)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumisk);
    qInstallMessageHandler(quiet);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
