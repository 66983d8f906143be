// sample: live readings for a while, at an interval, with the window's
// limits; CSV lines on stdout as they arrive unless a file is given.

#include "cli/cli.h"
#include "cli/interrupt.h"
#include "cli/meterlink.h"
#include "cli/output.h"
#include "cli/progress.h"

#include "session/historyrecorder.h"
#include "session/metersession.h"
#include "session/samplingrun.h"
#include "history/historystore.h"
#include "link/devdatas.h"
#include "link/realtimeopmvalueframe.h"
#include "link/requestledger.h"
#include "report/csvwriter.h"
#include "report/realtimexlsx.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>
#include <memory>

namespace {
using Ms = SamplingRun::Ms;
// The window's limits: an interval of 0.5 s to 1 h, a run of at most 24 h
// and 65 535 readings.
constexpr Ms MinInterval{500};
constexpr Ms MaxInterval = std::chrono::hours(1);
constexpr Ms MaxDuration = std::chrono::hours(24);
constexpr qint64 MaxReadings = 65535;
constexpr int MaxFailedInARow = 5;

// "0.5s", "30s", "10m", "1h", "1500ms"; false when it is none of these.
bool parseTime(const QString &text, Ms *value)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*(ms|s|m|h)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const double number = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    const double scale = unit == QLatin1String("ms") ? 1 : unit == QLatin1String("s") ? 1000
                       : unit == QLatin1String("m") ? 60000 : 3600000;
    const double ms = number * scale;
    if (ms > 1e12)
        return false;
    *value = Ms(qint64(ms + 0.5));
    return true;
}
} // namespace

int runSample(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption interval({QStringLiteral("i"), QStringLiteral("interval")},
                                      Cli::Text::tr("Time between readings, 0.5s to 1h in steps of 0.5 s (default 1s)."),
                                      Cli::Text::tr("time"), QStringLiteral("1s"));
    const QCommandLineOption duration({QStringLiteral("d"), QStringLiteral("duration")},
                                      Cli::Text::tr("How long to sample, at most 24h and 65535 readings (default 1m)."),
                                      Cli::Text::tr("time"), QStringLiteral("1m"));
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")},
                                 Cli::Text::tr("Write the readings to FILE (.xlsx, .csv or .json); - prints JSON "
                                               "lines on stdout. Without it, CSV lines on stdout as they arrive."),
                                 Cli::Text::tr("FILE"));
    const QCommandLineOption noHistory(QStringLiteral("no-history"),
                                       Cli::Text::tr("Do not keep the readings in the history."));
    parser.addOptions({interval, duration, Cli::portOption(), Cli::baudOption(), out, noHistory, Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("sample"),
                    QStringLiteral("[--interval 0.5s] [--duration 10m] [--port PORT] [--out FILE] [--no-history]"),
                    Cli::Text::tr("Takes live readings from the meter at an interval for a while."), arguments, &code))
        return code;
    int baud = 0;
    if (!Cli::baudRate(parser, &baud))
        return Cli::Usage;
    Ms every{0};
    Ms length{0};
    if (!parseTime(parser.value(interval), &every) || every < MinInterval || every > MaxInterval
        || every.count() % MinInterval.count() != 0) {
        Cli::err(Cli::Text::tr("lumisk-cli sample: the interval must be 0.5s to 1h in steps of 0.5 s"));
        return Cli::Usage;
    }
    if (!parseTime(parser.value(duration), &length) || length <= Ms(0) || length > MaxDuration
        || length.count() % MinInterval.count() != 0) {
        Cli::err(Cli::Text::tr("lumisk-cli sample: the duration must be more than 0 and at most 24h"));
        return Cli::Usage;
    }
    if (length.count() / every.count() > MaxReadings) {
        Cli::err(Cli::Text::tr("lumisk-cli sample: at most 65535 readings (duration / interval)"));
        return Cli::Usage;
    }
    const QString outPath = parser.value(out);
    const Output::Format format = Output::formatOf(outPath);
    if (format == Output::Format::Unknown) {
        Cli::err(Cli::Text::tr("lumisk-cli sample: --out takes a .xlsx, .csv or .json file, or -"));
        return Cli::Usage;
    }

    Interrupt *interrupt = Interrupt::instance();
    PortReport meter;
    code = MeterLink::choose(parser.value(QStringLiteral("port")), baud, &meter);
    if (code != Cli::Done)
        return code;
    if (interrupt->requested())
        return interrupt->exitCode();
    // Declared before the link, so that the port and its lock file are
    // released before the history's team-server sync is stopped.
    std::unique_ptr<HistoryRecorder> history;
    MeterLink link;
    if (!link.open(meter.name, baud)) {
        Cli::err(Cli::Text::tr("lumisk-cli: the meter on %1 did not answer when the port was opened").arg(meter.name));
        return Cli::MeterFailed;
    }
    if (!pagesFor(*DevDatas::instance()).contains(PageType::Chart)) {
        Cli::err(Cli::Text::tr("lumisk-cli: the meter on %1 (%2) gives no live readings").arg(meter.name, meter.model));
        return Cli::Failed;
    }

    if (!parser.isSet(noHistory))
        history = std::make_unique<HistoryRecorder>();
    auto *frame = new RealTimeOpmValueFrame(DevDatas::instance());
    QList<QDateTime> arrivals;
    QList<RealTimeOpmValue> readings;
    if (format == Output::Format::None)
        Cli::out(CsvWriter::line(CsvWriter::liveHeader()));

    SamplingRun run;
    QTimer ticker;
    ticker.setInterval(int(SamplingRun::Tick.count()));
    QObject::connect(&ticker, &QTimer::timeout, &run, &SamplingRun::tick);
    // The first reading at once, then one each interval; the run's last tick
    // (past its end) brings one more when it falls on the interval.
    const qint64 expected = (length + SamplingRun::Tick).count() / every.count() + 1;
    Progress progress(Cli::Text::tr("readings"));
    progress.setTotal(int(expected));

    QEventLoop loop;
    int outcome = -1;
    QString failure;
    bool finishing = false;
    int failedInARow = 0;
    auto stop = [&](int exitCode, const QString &message) {
        if (outcome >= 0)
            return;
        outcome = exitCode;
        failure = message;
        ticker.stop();
        run.finish();
        loop.quit();
    };
    // The readings come into the run's frame, through the same session the
    // window's chart is fed by.
    MeterSession meterSession(MeterSession::through(link.linkWorker()));
    link.attach(&meterSession);
    if (history)
        meterSession.keepIn(history.get());
    meterSession.setLiveFrame({[&]() -> Frame * { return frame; }, [&]() { frame = new RealTimeOpmValueFrame(DevDatas::instance()); },
                               [&]() { return outcome < 0; }});
    QObject::connect(&run, &SamplingRun::sampleDue, [&]() {
        if (!meterSession.reopenPending())
            meterSession.askForReading();
    });
    QObject::connect(&run, &SamplingRun::finished, [&]() {
        // The reading on its way still counts.
        finishing = true;
        if (!meterSession.ledger()->isInFlight(frame))
            stop(Cli::Done, QString());
    });
    QObject::connect(&link, &MeterLink::closed,
                     [&]() { stop(Cli::MeterFailed, Cli::Text::tr("the meter went away (port closed)")); });
    QObject::connect(interrupt, &Interrupt::arrived, [&]() { stop(interrupt->exitCode(), interrupt->reason()); });
    QObject::connect(&meterSession, &MeterSession::meterGone,
                     [&]() { stop(Cli::MeterFailed, Cli::Text::tr("the meter went away (port closed)")); });
    QObject::connect(&meterSession, &MeterSession::reinitNeeded, &link, &MeterLink::reopen);
    QObject::connect(&link, &MeterLink::reopened, [&](bool ok) {
        if (ok) {
            meterSession.reopened();
            return;
        }
        meterSession.reopenFailed();
        stop(Cli::MeterFailed, Cli::Text::tr("the meter asked for the link to be opened again, and it could not be"));
    });
    QObject::connect(&meterSession, &MeterSession::liveReading, [&](const Frame *, const QDateTime &now) {
        const RealTimeOpmValue reading = frame->value();
        arrivals << now;
        readings << reading;
        if (format == Output::Format::None)
            Cli::out(CsvWriter::line(CsvWriter::liveRow(now, reading)));
        else if (format == Output::Format::JsonLines)
            Cli::outLine(QString::fromUtf8(QJsonDocument(Output::liveJson(now, reading)).toJson(QJsonDocument::Compact)));
        progress.setValue(int(readings.size()));
    });
    QObject::connect(&meterSession, &MeterSession::liveAnswered, [&](ParseResult result) {
        if (result == DataOk) {
            failedInARow = 0;
        } else if (result != NeedReinit && ++failedInARow > MaxFailedInARow) {
            stop(Cli::MeterFailed, result == Incomplete ? Cli::Text::tr("the meter stopped answering")
                                                        : Cli::Text::tr("the meter kept refusing live readings"));
            return;
        }
        if (finishing)
            stop(Cli::Done, QString());
    });

    // A Ctrl-C while the ports were probed has been seen already.
    if (interrupt->requested()) {
        stop(interrupt->exitCode(), interrupt->reason());
    } else {
        run.start(every, length);
        meterSession.askForReading();
        ticker.start();
        loop.exec();
    }
    progress.finish();
    if (meterSession.ledger()->isInFlight(frame))
        meterSession.giveUp(frame);
    else
        delete frame;
    if (history)
        history->endRun();

    if (outcome == Cli::Done)
        Cli::note(Cli::Text::tr("%n reading(s) taken", nullptr, int(readings.size())));
    else if (!failure.isEmpty())
        Cli::err(Cli::Text::tr("lumisk-cli: %1 after %n reading(s)", nullptr, int(readings.size())).arg(failure));

    // A run cut short leaves an earlier complete file as it was.
    const QString target = Output::destination(outPath, outcome == Cli::Done);
    bool fileFailed = false;
    switch (format) {
    case Output::Format::Xlsx:
        fileFailed = !Output::saveWorkbookAs(target, [&](const QString &dir) {
            return RealTimeXlsx().save(arrivals, readings, dir);
        });
        break;
    case Output::Format::Csv:
        fileFailed = !CsvWriter::saveLive(target, arrivals, readings);
        break;
    case Output::Format::Json:
        fileFailed = !Output::saveJson(target, Output::liveDocument(arrivals, readings, outcome == Cli::Done));
        break;
    default:
        break;
    }
    if (target != outPath && !fileFailed)
        Cli::err(Cli::Text::tr("lumisk-cli: what arrived is in %1 (%2 is left as it was)").arg(target, outPath));
    return Output::conclude(outcome, fileFailed, target, history.get(),
                            Cli::Text::tr("lumisk-cli: the readings could not be kept in the history (%1): %2"));
}
