// ports and identify: which serial ports there are, and which meter answers.

#include "cli/cli.h"
#include "cli/meterlink.h"

#include "session/historyrecorder.h"
#include "domain/pages.h"
#include "link/devdatas.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

// The record families this meter offers, as download --family names them.
QStringList familiesOf(const PortReport &report)
{
    DevDatas identity;
    identity.devKind = report.kind;
    identity.rangeCode = report.rangeCode;
    identity.hasRecordPages = report.recordPages;
    QStringList families;
    for (PageType type : pagesFor(identity)) {
        if (hasRecords(type))
            families << HistoryRecorder::familyOf(type);
    }
    return families;
}

QJsonObject reportJson(const PortReport &report)
{
    QJsonObject object{
        {QStringLiteral("port"), report.name},
        {QStringLiteral("path"), report.location},
        {QStringLiteral("opened"), report.opened},
        {QStringLiteral("problem"), orNull(report.problem)},
        {QStringLiteral("meter"), QJsonValue(QJsonValue::Null)},
    };
    if (report.meter) {
        object.insert(QStringLiteral("meter"),
                      QJsonObject{{QStringLiteral("kind"), report.kind},
                                  {QStringLiteral("range_code"), report.rangeCode},
                                  {QStringLiteral("model"), report.model},
                                  {QStringLiteral("version"), report.version},
                                  {QStringLiteral("families"), QJsonArray::fromStringList(familiesOf(report))}});
    }
    return object;
}

} // namespace

int runPorts(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption(Cli::baudOption());
    parser.addOption(Cli::jsonOption());
    parser.addOption(Cli::quietOption());
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("ports"), QStringLiteral("[--json] [--baud RATE]"),
                    Cli::Text::tr("Lists every serial port (or every LUMISK_SERIAL_PORTS entry), whether it can "
                                  "be opened and why not, and which meter answers on it."),
                    arguments, &code))
        return code;
    int baud = 0;
    if (!Cli::baudRate(parser, &baud))
        return Cli::Usage;

    const QList<PortReport> reports = MeterLink::probeAll(baud);
    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray list;
        for (const PortReport &report : reports)
            list.append(reportJson(report));
        Cli::out(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)));
        return Cli::Done;
    }
    if (reports.isEmpty())
        Cli::note(Cli::Text::tr("no serial ports"));
    for (const PortReport &report : reports)
        Cli::outLine(report.summary());
    return Cli::Done;
}

int runIdentify(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption(Cli::portOption());
    parser.addOption(Cli::baudOption());
    parser.addOption(Cli::jsonOption());
    parser.addOption(Cli::quietOption());
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("identify"), QStringLiteral("[--port PORT] [--baud RATE] [--json]"),
                    Cli::Text::tr("Prints the meter's identity: kind, model, version, range code and the record "
                                  "families it keeps."),
                    arguments, &code))
        return code;
    int baud = 0;
    if (!Cli::baudRate(parser, &baud))
        return Cli::Usage;

    PortReport report;
    code = MeterLink::choose(parser.value(QStringLiteral("port")), baud, &report);
    if (code != Cli::Done)
        return code;
    if (parser.isSet(QStringLiteral("json"))) {
        Cli::out(QString::fromUtf8(QJsonDocument(reportJson(report)).toJson(QJsonDocument::Indented)));
        return Cli::Done;
    }
    Cli::outLine(Cli::Text::tr("port:       %1").arg(report.name));
    Cli::outLine(Cli::Text::tr("model:      %1").arg(report.model));
    Cli::outLine(Cli::Text::tr("version:    %1").arg(report.version));
    Cli::outLine(Cli::Text::tr("kind:       %1").arg(report.kind));
    Cli::outLine(Cli::Text::tr("range code: %1").arg(report.rangeCode));
    Cli::outLine(Cli::Text::tr("families:   %1").arg(familiesOf(report).join(QLatin1Char(' '))));
    return Cli::Done;
}
