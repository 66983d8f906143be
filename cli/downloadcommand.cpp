// download: every record of one family, into a file, onto stdout and into
// the history, through the same MeterSession and download the window runs.

#include "cli/cli.h"
#include "cli/families.h"
#include "cli/interrupt.h"
#include "cli/meterlink.h"
#include "cli/output.h"
#include "cli/progress.h"

#include "session/downloadsession.h"
#include "session/historyrecorder.h"
#include "session/metersession.h"
#include "history/historystore.h"
#include "link/devdatas.h"
#include "report/csvwriter.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <memory>

namespace {
// Garbled answers to one record in a row before the meter counts as failing
// (the link has already asked again within each exchange).
constexpr int MaxGarbledInARow = 5;

QJsonObject meterJson(const PortReport &meter)
{
    return QJsonObject{{QStringLiteral("port"), meter.name},
                       {QStringLiteral("model"), meter.model},
                       {QStringLiteral("version"), meter.version},
                       {QStringLiteral("kind"), meter.kind},
                       {QStringLiteral("range_code"), meter.rangeCode}};
}
} // namespace

int runDownload(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption family({QStringLiteral("f"), QStringLiteral("family")},
                                    Cli::Text::tr("Record family: %1.").arg(Families::names().join(QStringLiteral(", "))),
                                    Cli::Text::tr("family"));
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")},
                                 Cli::Text::tr("Write the records to FILE: .xlsx (the window's report of the page), "
                                               ".csv or .json; - prints JSON lines on stdout."),
                                 Cli::Text::tr("FILE"));
    const QCommandLineOption noHistory(QStringLiteral("no-history"),
                                       Cli::Text::tr("Do not keep the records in the history."));
    parser.addOptions({family, Cli::portOption(), Cli::baudOption(), out, noHistory, Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("download"),
                    QStringLiteral("--family single|multi|partial|pon|xgpon [--port PORT] [--out FILE] [--no-history]"),
                    Cli::Text::tr("Downloads every stored record of one family from the meter."), arguments, &code))
        return code;
    int baud = 0;
    if (!Cli::baudRate(parser, &baud))
        return Cli::Usage;
    const QString familyName = parser.value(family);
    const PageType type = Families::typeOf(familyName);
    if (type == PageType::None) {
        Cli::err(Cli::Text::tr("lumisk-cli download: --family must be one of %1")
                     .arg(Families::names().join(QStringLiteral(", "))));
        return Cli::Usage;
    }
    const QString outPath = parser.value(out);
    const Output::Format format = Output::formatOf(outPath);
    if (format == Output::Format::Unknown) {
        Cli::err(Cli::Text::tr("lumisk-cli download: --out takes a .xlsx, .csv or .json file, or -"));
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
    if (!pagesFor(*DevDatas::instance()).contains(type)) {
        Cli::err(Cli::Text::tr("lumisk-cli: the meter on %1 (%2) keeps no %3 records")
                     .arg(meter.name, meter.model, familyName));
        return Cli::Failed;
    }

    std::unique_ptr<FamilyStore> store = Families::storeFor(type, DevDatas::instance());
    if (!parser.isSet(noHistory))
        history = std::make_unique<HistoryRecorder>();
    MeterSession meterSession(MeterSession::through(link.linkWorker()));
    link.attach(&meterSession);
    meterSession.setGarbledLimit(MaxGarbledInARow);
    DownloadSession &session = *meterSession.download();
    if (history)
        meterSession.keepIn(history.get());
    QList<HistoryStore::Record> arrived;
    QObject::connect(&session, &DownloadSession::recordArrived, [&](PageType, const Frame *frame) {
        arrived << HistoryStore::recordFrom(familyName, frame);
        if (format == Output::Format::JsonLines)
            Cli::outLine(QString::fromUtf8(QJsonDocument(Output::recordJson(arrived.last())).toJson(QJsonDocument::Compact)));
    });

    Progress progress(Cli::Text::tr("%1 records").arg(familyName));
    QObject::connect(&session, &DownloadSession::countKnown, [&](int count) { progress.setTotal(count); });
    QObject::connect(&session, &DownloadSession::progress, [&](int value) { progress.setValue(value); });

    QEventLoop loop;
    int outcome = -1;
    QString failure;
    auto stop = [&](int exitCode, const QString &message) {
        if (outcome >= 0)
            return;
        outcome = exitCode;
        failure = message;
        session.finish();
        loop.quit();
    };
    QObject::connect(&session, &DownloadSession::ended, [&]() { stop(Cli::Done, QString()); });
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
    QObject::connect(&meterSession, &MeterSession::downloadStuck, [&](ParseResult result) {
        if (result == CheckFailed)
            stop(Cli::MeterFailed, Cli::Text::tr("the meter's answers kept arriving garbled"));
        else if (result == Busy || result == NotReady)
            stop(Cli::MeterFailed, Cli::Text::tr("the meter kept answering busy"));
        else if (result == Incomplete)
            stop(Cli::MeterFailed, Cli::Text::tr("the meter stopped answering"));
        else
            stop(Cli::MeterFailed, Cli::Text::tr("the meter refused the request (answer %1)").arg(int(result)));
    });

    // A Ctrl-C while the ports were probed has been seen already.
    if (interrupt->requested())
        stop(interrupt->exitCode(), interrupt->reason());
    else
        session.start(Families::pageFor(type, store.get()));
    if (outcome < 0)
        loop.exec();
    progress.finish();
    // A request still out keeps its frame until its answer is in.
    meterSession.replaceFrame(store.get());

    if (outcome == Cli::Done)
        Cli::note(Cli::Text::tr("%n record(s) downloaded", nullptr, store->itemCount()));
    else if (!failure.isEmpty())
        Cli::err(Cli::Text::tr("lumisk-cli: %1 after %n record(s)", nullptr, store->itemCount()).arg(failure));

    // A run cut short leaves an earlier complete file as it was.
    const QString target = Output::destination(outPath, outcome == Cli::Done);
    bool fileFailed = false;
    switch (format) {
    case Output::Format::Xlsx:
        fileFailed = !Output::saveWorkbookAs(target, [&](const QString &dir) { return store->writeReport(dir); });
        break;
    case Output::Format::Csv:
        fileFailed = !CsvWriter::saveRecords(target, arrived, Families::csvColumns(familyName));
        break;
    case Output::Format::Json: {
        QJsonArray records;
        for (const HistoryStore::Record &record : arrived)
            records.append(Output::recordJson(record));
        const QJsonObject document{{QStringLiteral("family"), familyName},
                                   {QStringLiteral("meter"), meterJson(meter)},
                                   {QStringLiteral("complete"), outcome == Cli::Done},
                                   {QStringLiteral("records"), records}};
        fileFailed = !Output::saveJson(target, QJsonDocument(document).toJson(QJsonDocument::Indented));
        break;
    }
    default:
        break;
    }
    if (target != outPath && !fileFailed)
        Cli::err(Cli::Text::tr("lumisk-cli: what arrived is in %1 (%2 is left as it was)").arg(target, outPath));
    return Output::conclude(outcome, fileFailed, target, history.get(),
                            Cli::Text::tr("lumisk-cli: the records could not be kept in the history (%1): %2"));
}
