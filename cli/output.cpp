#include "cli/output.h"

#include "session/historyrecorder.h"
#include "cli/cli.h"

#include "link/realtimeopmvalue.h"
#include "report/csvwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>

namespace Output {

namespace {
// A plain number where the text holds one, null otherwise.
QJsonValue number(const QString &plain)
{
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}
} // namespace

Format formatOf(const QString &out)
{
    if (out.isEmpty())
        return Format::None;
    if (out == QLatin1String("-"))
        return Format::JsonLines;
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return Format::Xlsx;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("json"))
        return Format::Json;
    return Format::Unknown;
}

bool saveWorkbookAs(const QString &target, const std::function<bool(const QString &dir)> &write)
{
    const QFileInfo info(target);
    QTemporaryDir scratch(info.absolutePath() + QStringLiteral("/.lumisk-cli-XXXXXX"));
    if (!scratch.isValid())
        return false;
    if (!write(scratch.path()))
        return false;
    const QStringList files = QDir(scratch.path()).entryList(QDir::Files);
    if (files.size() != 1)
        return false;
    const QString made = scratch.filePath(files.first());
    // rename(2) replaces an existing file in one step: FILE is the old
    // workbook or the new one, never missing or half written.
    return std::rename(QFile::encodeName(made).constData(), QFile::encodeName(info.absoluteFilePath()).constData()) == 0;
}

QString destination(const QString &out, bool complete)
{
    const Format format = formatOf(out);
    if (complete || format == Format::None || format == Format::JsonLines)
        return out;
    return out + QStringLiteral(".partial");
}

bool saveJson(const QString &path, const QByteArray &json)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(json) != json.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QJsonObject recordJson(const HistoryStore::Record &record)
{
    using namespace ReadingText;
    QJsonArray readings;
    for (const HistoryStore::Reading &r : record.readings) {
        readings.append(QJsonObject{
            {QStringLiteral("wavelength_nm"), number(plainNumber(r.wavelength))},
            {QStringLiteral("power"), number(plainNumber(r.powerText))},
            {QStringLiteral("unit"), textOrNull(r.unit)},
            {QStringLiteral("power_text"), textOrNull(r.powerText)},
            {QStringLiteral("reference"), number(plainNumber(r.reference))},
            {QStringLiteral("watt_w"), number(watts(r.watt))},
            {QStringLiteral("frequency_hz"), number(plainNumber(r.frequency))},
            {QStringLiteral("verdict"), textOrNull(History::verdictWord(r.verdict))},
        });
    }
    return QJsonObject{
        {QStringLiteral("family"), record.family},
        {QStringLiteral("record"), record.number},
        {QStringLiteral("name"), record.name},
        {QStringLiteral("time"), textOrNull(recordTime(record.time))},
        {QStringLiteral("time_text"), record.time},
        {QStringLiteral("readings"), readings},
    };
}

QJsonObject liveJson(const QDateTime &arrival, const RealTimeOpmValue &reading)
{
    using namespace ReadingText;
    return QJsonObject{
        {QStringLiteral("time"), isoWithOffset(arrival)},
        {QStringLiteral("wavelength_nm"), number(plainNumber(reading.wavelength))},
        {QStringLiteral("power"), number(plainNumber(reading.power))},
        {QStringLiteral("unit"), textOrNull(reading.powerUnit)},
        {QStringLiteral("power_text"), textOrNull(reading.power)},
        {QStringLiteral("reference"), number(plainNumber(reading.reference))},
        {QStringLiteral("watt_w"), number(watts(reading.powerW + reading.powerWUnit))},
        {QStringLiteral("frequency_hz"), number(plainNumber(reading.frequency))},
    };
}

QByteArray liveDocument(const QList<QDateTime> &arrivals, const QList<RealTimeOpmValue> &readings, bool complete)
{
    QJsonArray list;
    for (int i = 0; i < qMin(arrivals.size(), readings.size()); ++i)
        list.append(liveJson(arrivals.at(i), readings.at(i)));
    const QJsonObject document{{QStringLiteral("family"), History::familyOf(PageType::Chart)},
                               {QStringLiteral("complete"), complete},
                               {QStringLiteral("readings"), list}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

int conclude(int outcome, bool fileFailed, const QString &outPath, HistoryRecorder *history,
             const QString &historyFailure)
{
    if (fileFailed)
        Cli::err(Cli::Text::tr("lumisk-cli: cannot write %1").arg(outPath));
    bool historyFailed = false;
    if (history) {
        HistoryStore *kept = history->store();
        historyFailed = !kept->flush() || !kept->isOpen() || kept->isReadOnly();
        if (historyFailed)
            Cli::err(historyFailure.arg(kept->path(), kept->lastError()));
    }
    if (outcome != Cli::Done)
        return outcome;
    return (fileFailed || historyFailed) ? Cli::FileFailed : Cli::Done;
}

} // namespace Output
