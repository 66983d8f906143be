// Whole single-wave downloads through the main window, from the download
// button to the meter's "no further record", against a simulated meter on a
// pseudo-terminal, with the window on Qt's own event loop as in the
// application (nothing here sleeps or polls while a download is timed):
// - unpaced, the meter answering at once, with the history on and off;
// - paced, every answer trickled at 115 200 and at 9 600 baud, compared with
//   the time the line itself needs for the answers' bytes (10 bits a byte).

#include "app/downloadcontrol.h"
#include "app/mainwindow.h"
#include "link/requestledger.h"
#include "link/uartworker.h"
#include "views/opmform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

namespace {

constexpr int UnpacedRecords = 2000;
constexpr int BitsPerByte = 10;
constexpr int TimeoutMs = 300000;
constexpr int SetUpTimeoutMs = 10000;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Only for setting up and tearing down, never while a download is timed.
bool settle(const std::function<bool()> &condition, int timeoutMs = SetUpTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

class Meter
{
public:
    Meter(int records, int baud)
    {
        link = dir.filePath(QStringLiteral("ttyDOWNLOAD"));
        QStringList args{QStringLiteral("--link"), link, QStringLiteral("--kind"), QStringLiteral("6"),
                         QStringLiteral("--records"), QString::number(records)};
        if (baud > 0)
            args << QStringLiteral("--trickle") << QStringLiteral("%1@records").arg(baud);
        process.start(QStringLiteral(LUMISK_METERSIM), args);
        settle([this]() { return QFileInfo::exists(link); });
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

// The history in a file of its own, or (off) behind a path that cannot be a
// file, which the window reports once in a message that is closed here.
class History
{
public:
    explicit History(bool on)
    {
        const QString path = on ? dir.filePath(QStringLiteral("history.sqlite"))
                                : QStringLiteral("/dev/null/history.sqlite");
        qputenv("LUMISK_HISTORY_DB", path.toLocal8Bit());
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, []() {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        closer.start();
    }
    ~History() { qunsetenv("LUMISK_HISTORY_DB"); }

private:
    QTemporaryDir dir;
    QTimer closer;
};

bool connectWindow(MainWindow *window)
{
    window->findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    return settle([window]() { return window->findChild<QPushButton *>(QStringLiteral("opmBtn"))->isEnabled(); });
}

void disconnectWindow(MainWindow *window)
{
    settle([]() { return RequestLedger::instance()->inFlightCount() == 0; });
    window->findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    settle([]() { return !UartWorker::instance()->isConnected(); });
}

struct Figures {
    double seconds = 0;
    qint64 answerBytes = 0;
    int records = 0;
};

// One download on the event loop; false when it did not finish.
bool downloadOnce(MainWindow *window, Figures *figures, qint64 *answerBytes)
{
    auto *control = window->findChild<DownloadControl *>();
    auto *page = window->findChild<OpmForm *>(QStringLiteral("opmTable"));
    QEventLoop loop;
    QObject::connect(control, &DownloadControl::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(TimeoutMs, &loop, [&loop]() { loop.exit(1); });
    *answerBytes = 0;
    QElapsedTimer clock;
    clock.start();
    window->findChild<QPushButton *>(QStringLiteral("downloadBtn"))->click();
    const bool finished = loop.exec() == 0;
    figures->seconds = clock.nsecsElapsed() / 1e9;
    figures->answerBytes = *answerBytes;
    figures->records = page->itemCount();
    return finished;
}

void download(benchmark::State &state, int records, int baud, bool history)
{
    // Each answer's bytes as the frame holds them (its checksum byte too),
    // counted after the ledger has taken the result's frame off its queue and
    // before any window's own slot takes the record out of the frame: the
    // ledger connects first, this before the windows made below.
    RequestLedger::instance();
    qint64 answerBytes = 0;
    QObject counter;
    QObject::connect(UartWorker::instance(), &UartWorker::responsed, &counter, [&answerBytes](ParseResult result) {
        const Frame *frame = RequestLedger::instance()->deliveredFrame();
        if (result == DataOk && frame && !RequestLedger::instance()->deliveredFrameRetired())
            answerBytes += frame->body.size() + 1;
    });
    Meter meter(records, baud);
    for (auto _ : state) {
        // A history file of its own for every download, so that each one
        // stores its records afresh rather than finding them there.
        History store(history);
        auto window = std::make_unique<MainWindow>();
        if (!connectWindow(window.get())) {
            state.SkipWithError("the simulated meter did not connect");
            return;
        }
        window->findChild<QPushButton *>(QStringLiteral("opmBtn"))->click();
        Figures figures;
        if (!downloadOnce(window.get(), &figures, &answerBytes)) {
            state.SkipWithError("the download did not finish");
            return;
        }
        if (figures.records != records) {
            state.SkipWithError("records missing");
            return;
        }
        state.SetIterationTime(figures.seconds);
        state.counters["records_per_s"] = records / figures.seconds;
        if (baud > 0) {
            const double answerSeconds = double(figures.answerBytes) * BitsPerByte / baud;
            state.counters["of_answer_line_rate"] = answerSeconds / figures.seconds;
            state.counters["answer_bytes_per_record"] = double(figures.answerBytes) / records;
            // What a record costs beyond its answer's bytes: the request on
            // the line, the meter's turn-around and our own handling.
            state.counters["other_us_per_record"] = (figures.seconds - answerSeconds) * 1e6 / records;
        }
        disconnectWindow(window.get());
        window.reset();
    }
}

void BM_DownloadUnpaced(benchmark::State &state)
{
    download(state, UnpacedRecords, 0, state.range(0) != 0);
}

void BM_DownloadPaced(benchmark::State &state)
{
    const int baud = int(state.range(0));
    // About eight seconds of answers at either rate.
    download(state, baud >= 100000 ? 2000 : 200, baud, true);
}

} // namespace

BENCHMARK(BM_DownloadUnpaced)->ArgName("history")->Arg(1)->Arg(0)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadPaced)->Arg(115200)->Arg(9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

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
