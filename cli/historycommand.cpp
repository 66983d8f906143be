// history: the measurement history from the shell (list, show, export) and
// the team server's sync.

#include "cli/cli.h"
#include "cli/families.h"
#include "cli/output.h"

#include "session/historyrecorder.h"
#include "session/historyreplay.h"
#include "cli/interrupt.h"
#include "history/historysync.h"
#include "history/historystore.h"
#include "link/realtimeopmvalue.h"
#include "report/csvwriter.h"
#include "report/realtimexlsx.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr char DayFormat[] = "yyyy-MM-dd";

QJsonObject summaryJson(const HistoryStore::SessionSummary &session)
{
    return QJsonObject{
        {QStringLiteral("id"), session.id},
        {QStringLiteral("kind"), session.kind},
        {QStringLiteral("meter"), session.meterModel},
        {QStringLiteral("range_code"), session.rangeCode},
        {QStringLiteral("technician"), session.technician},
        {QStringLiteral("started"), ReadingText::isoWithOffset(session.started)},
        {QStringLiteral("ended"), session.ended.isValid() ? QJsonValue(ReadingText::isoWithOffset(session.ended))
                                                          : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("count"), session.count},
    };
}

bool openStore(HistoryStore &store)
{
    if (store.open())
        return true;
    Cli::err(QStringLiteral("lumisk-cli history: ") + store.lastError());
    return false;
}

// A read of the history that failed: the reason, and exit code 5.
int readFailed(const QString &why)
{
    Cli::err(QStringLiteral("lumisk-cli history: ") + why);
    return Cli::FileFailed;
}

// The session with this id: Done, or the exit code after a message (none
// such, or the history cannot be read).
int findSession(HistoryStore &store, const QString &text, HistoryStore::SessionSummary *found)
{
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (ok && id != 0) {
        HistoryStore::SessionFilter filter;
        filter.session = id;
        QString why;
        const QList<HistoryStore::SessionSummary> sessions = store.sessionList(filter, &why);
        if (!why.isEmpty())
            return readFailed(why);
        if (!sessions.isEmpty()) {
            *found = sessions.first();
            return Cli::Done;
        }
    }
    Cli::err(Cli::Text::tr("lumisk-cli history: no session %1").arg(text));
    return Cli::Failed;
}

int list(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption meter(QStringLiteral("meter"), Cli::Text::tr("Only sessions of this meter model."),
                                   Cli::Text::tr("model"));
    const QCommandLineOption from(QStringLiteral("from"), Cli::Text::tr("From this day on (YYYY-MM-DD)."),
                                  Cli::Text::tr("day"));
    const QCommandLineOption to(QStringLiteral("to"), Cli::Text::tr("Up to this day (YYYY-MM-DD)."), Cli::Text::tr("day"));
    parser.addOptions({meter, from, to, Cli::jsonOption(), Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("history list"), QStringLiteral("[--meter MODEL] [--from DAY] [--to DAY] [--json]"),
                    Cli::Text::tr("Lists the stored sessions, newest first."), arguments, &code))
        return code;
    QDate fromDay;
    QDate toDay;
    for (auto [option, day] : {std::pair{&from, &fromDay}, std::pair{&to, &toDay}}) {
        if (!parser.isSet(*option))
            continue;
        *day = QDate::fromString(parser.value(*option), QLatin1String(DayFormat));
        if (!day->isValid()) {
            Cli::err(Cli::Text::tr("lumisk-cli history list: not a day (YYYY-MM-DD): %1").arg(parser.value(*option)));
            return Cli::Usage;
        }
    }
    HistoryStore store;
    if (!openStore(store))
        return Cli::FileFailed;
    QString why;
    const auto sessions = store.sessionList(parser.value(meter), fromDay, toDay, &why);
    if (!why.isEmpty())
        return readFailed(why);
    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray array;
        for (const auto &session : sessions)
            array.append(summaryJson(session));
        Cli::out(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
        return Cli::Done;
    }
    for (const auto &session : sessions) {
        Cli::outLine(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                         .arg(session.id)
                         .arg(ReadingText::isoWithOffset(session.started), session.kind, session.meterModel)
                         .arg(session.count)
                         .arg(session.technician));
    }
    return Cli::Done;
}

int show(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("session"), Cli::Text::tr("The session's number (see history list)."));
    parser.addOptions({Cli::jsonOption(), Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("history show"), QStringLiteral("SESSION [--json]"),
                    Cli::Text::tr("Prints the records of a stored download session."), arguments, &code))
        return code;
    if (parser.positionalArguments().size() != 1) {
        Cli::err(Cli::Text::tr("lumisk-cli history show: one session number"));
        return Cli::Usage;
    }
    HistoryStore store;
    if (!openStore(store))
        return Cli::FileFailed;
    HistoryStore::SessionSummary session;
    if (const int found = findSession(store, parser.positionalArguments().first(), &session); found != Cli::Done)
        return found;
    QString why;
    const QList<HistoryStore::Record> records = store.sessionRecords(session.id, &why);
    if (!why.isEmpty())
        return readFailed(why);
    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray array;
        for (const auto &record : records)
            array.append(Output::recordJson(record));
        QJsonObject document = summaryJson(session);
        document.insert(QStringLiteral("records"), array);
        Cli::out(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
        return Cli::Done;
    }
    Cli::out(CsvWriter::line(CsvWriter::recordHeader()));
    for (const auto &record : records) {
        for (const QStringList &row : CsvWriter::recordRows(record))
            Cli::out(CsvWriter::line(row));
    }
    return Cli::Done;
}

// A stored live run written as `lumisk-cli sample --out` wrote it.
int exportLiveRun(HistoryStore &store, const HistoryStore::SessionSummary &session, Output::Format format,
                  const QString &path)
{
    QList<QDateTime> arrivals;
    QList<RealTimeOpmValue> readings;
    QString why;
    const QList<HistoryStore::LiveReading> stored = store.sessionLiveReadings(session.id, &why);
    if (!why.isEmpty())
        return readFailed(why);
    for (const HistoryStore::LiveReading &reading : stored) {
        arrivals << reading.arrival;
        readings << reading.value();
    }
    bool written = false;
    if (format == Output::Format::Xlsx)
        written = Output::saveWorkbookAs(
            path, [&](const QString &dir) { return RealTimeXlsx().save(arrivals, readings, dir); });
    else if (format == Output::Format::Csv)
        written = CsvWriter::saveLive(path, arrivals, readings);
    else
        written = Output::saveJson(path, Output::liveDocument(arrivals, readings, session.ended.isValid()));
    if (!written) {
        Cli::err(Cli::Text::tr("lumisk-cli: cannot write %1").arg(path));
        return Cli::FileFailed;
    }
    Cli::note(Cli::Text::tr("%n reading(s) written to %1", nullptr, int(readings.size())).arg(path));
    return Cli::Done;
}

int exportSession(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("session"), Cli::Text::tr("The session's number (see history list)."));
    const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("out")},
                                 Cli::Text::tr("The file: .xlsx (the window's report), .csv or .json."),
                                 Cli::Text::tr("FILE"));
    parser.addOptions({out, Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("history export"), QStringLiteral("SESSION --out FILE"),
                    Cli::Text::tr("Writes a stored session into a file."), arguments, &code))
        return code;
    const Output::Format format = Output::formatOf(parser.value(out));
    if (parser.positionalArguments().size() != 1
        || !(format == Output::Format::Xlsx || format == Output::Format::Csv || format == Output::Format::Json)) {
        Cli::err(Cli::Text::tr("lumisk-cli history export: one session number and --out with a .xlsx, .csv or .json file"));
        return Cli::Usage;
    }
    HistoryStore store;
    if (!openStore(store))
        return Cli::FileFailed;
    HistoryStore::SessionSummary session;
    if (const int found = findSession(store, parser.positionalArguments().first(), &session); found != Cli::Done)
        return found;
    const QString path = parser.value(out);
    if (History::pageOf(session.kind) == PageType::Chart)
        return exportLiveRun(store, session, format, path);
    const PageType type = HistoryReplay::pageOf(session.kind);
    if (type == PageType::None) {
        Cli::err(Cli::Text::tr("lumisk-cli history export: session %1 is of an unknown kind").arg(session.id));
        return Cli::Failed;
    }
    QString why;
    const QList<HistoryStore::Record> records = store.sessionRecords(session.id, &why);
    if (!why.isEmpty())
        return readFailed(why);
    bool written = false;
    if (format == Output::Format::Xlsx) {
        // Decoded again from the meter's stored answers, as the window's
        // history page does before it saves.
        std::unique_ptr<FamilyStore> page = Families::storeFor(type, nullptr);
        HistoryReplay::fill(page.get(), records, session.rangeCode);
        written = Output::saveWorkbookAs(path, [&](const QString &dir) { return page->writeReport(dir); });
    } else if (format == Output::Format::Csv) {
        written = CsvWriter::saveRecords(path, records, Families::csvColumns(session.kind));
    } else {
        QJsonArray array;
        for (const auto &record : records)
            array.append(Output::recordJson(record));
        QJsonObject document = summaryJson(session);
        document.insert(QStringLiteral("records"), array);
        written = Output::saveJson(path, QJsonDocument(document).toJson(QJsonDocument::Indented));
    }
    if (!written) {
        Cli::err(Cli::Text::tr("lumisk-cli: cannot write %1").arg(path));
        return Cli::FileFailed;
    }
    Cli::note(Cli::Text::tr("%n record(s) written to %1", nullptr, records.size()).arg(path));
    return Cli::Done;
}

int sync(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption(Cli::quietOption());
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("history sync"), QString(),
                    Cli::Text::tr("Sends what the team server lacks of the local history, then stops."),
                    arguments, &code))
        return code;
    const QString server = HistoryRecorder::serverSetting();
    if (server.isEmpty()) {
        Cli::err(Cli::Text::tr("lumisk-cli history sync: no team server is set ([history] server= in settings.ini)"));
        return Cli::Failed;
    }
    HistoryStore store;
    if (!openStore(store))
        return Cli::FileFailed;
    if (store.isReadOnly()) {
        Cli::err(QStringLiteral("lumisk-cli history sync: ") + store.lastError());
        return Cli::FileFailed;
    }
    HistorySync *sync = store.startSync(server);
    if (!sync)
        return Cli::FileFailed;
    // The sync runs on its own thread and reports its state here; the first
    // "synced" or "unreachable" ends the command (the window would retry).
    QEventLoop loop;
    int result = Cli::Done;
    bool finished = false;
    QString last;
    const auto check = [&] {
        const QString text = sync->stateText();
        if (text != last)
            Cli::note(QStringLiteral("lumisk-cli history sync: ") + text);
        last = text;
        if (sync->state() == HistorySync::Synced && sync->waiting() == 0) {
            finished = true;
            loop.quit();
        } else if (sync->state() == HistorySync::Unreachable
                   || (sync->state() == HistorySync::Waiting && !sync->error().isEmpty())) {
            if (Cli::quiet())
                Cli::err(QStringLiteral("lumisk-cli history sync: ") + text);
            // A file that cannot be read or marked is the history's failure, not the server's.
            result = sync->state() == HistorySync::Unreachable ? Cli::Failed : Cli::FileFailed;
            finished = true;
            loop.quit();
        }
    };
    QObject::connect(sync, &HistorySync::stateChanged, &loop, check);
    QObject::connect(Interrupt::instance(), &Interrupt::arrived, &loop, [&] {
        result = Cli::Interrupted;
        finished = true;
        loop.quit();
    });
    check();
    if (!finished)
        loop.exec();
    sync->stop();
    return result;
}

} // namespace

int runHistory(const QStringList &arguments)
{
    const QString action = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (action == QLatin1String("list"))
        return list(rest);
    if (action == QLatin1String("show"))
        return show(rest);
    if (action == QLatin1String("export"))
        return exportSession(rest);
    if (action == QLatin1String("sync"))
        return sync(rest);
    const QString usage = Cli::Text::tr("Usage: lumisk-cli history list|show|export|sync [options] (--help for each)");
    if (action == QLatin1String("--help") || action == QLatin1String("-h")) {
        Cli::outLine(usage);
        return Cli::Done;
    }
    Cli::err(action.isEmpty() ? usage : Cli::Text::tr("lumisk-cli history: unknown action %1").arg(action));
    if (!action.isEmpty())
        Cli::err(usage);
    return Cli::Usage;
}
