#include "report/exportfiles.h"

#include "link/ponopmitemdata.h"
#include "report/csvwriter.h"

#include <QLocale>

namespace ExportFiles {

namespace {

const char FileTimeFormat[] = "yyyy-MM-dd-HH-mm-ss";
constexpr int LossDecimals = 2;

QString decibels(double value)
{
    return QString::number(value, 'f', LossDecimals);
}

} // namespace

PowerInfo powerInfoOf(const History::Reading &reading)
{
    return PonClassCheck::powerInfoOf(reading);
}

QString suffix(const QString &kind)
{
    switch (History::pageOf(kind)) {
    case PageType::Opm:
        return QStringLiteral("-Single");
    case PageType::MultiWave:
        return QStringLiteral("-Multi");
    case PageType::Partial:
        return QStringLiteral("-Partial");
    case PageType::Pon:
        return QStringLiteral("-PON");
    case PageType::XGPon:
        return QStringLiteral("-XG-PON");
    case PageType::Chart:
        return QStringLiteral("-RT");
    default:
        return QStringLiteral("-") + kind;
    }
}

QString fileName(const QString &dir, const QDateTime &when, const QString &kind, Format format)
{
    return dir + QLatin1Char('/') + QLocale::c().toString(when, QLatin1String(FileTimeFormat)) + suffix(kind)
        + (format == Format::Pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv"));
}

QStringList extraHeader(const ExportContent &content)
{
    if (content.isPon())
        return PonClassCheck::csvHeader();
    if (content.isLive() && content.reference.isSet())
        return {QStringLiteral("pc_reference_dbm"), QStringLiteral("loss_db")};
    return {};
}

bool writeCsv(const QString &path, const ExportContent &content)
{
    const QStringList header = extraHeader(content);
    if (content.isLive()) {
        CsvWriter::LiveColumns extra;
        if (!header.isEmpty()) {
            extra.header = header;
            extra.fields = [&content](int index) -> QStringList {
                const RealTimeOpmValue &reading = content.readings.at(index);
                const std::optional<double> reference = content.reference.reference(reading.wavelength);
                const std::optional<double> loss = content.reference.loss(reading.wavelength, reading.powerValue);
                return {reference ? decibels(*reference) : QString(), loss ? decibels(*loss) : QString()};
            };
        }
        return CsvWriter::saveLive(path, content.arrivals, content.readings, extra);
    }
    CsvWriter::RecordColumns extra;
    if (!header.isEmpty()) {
        extra.header = header;
        extra.fields = [&content](const History::Record &record, int index) -> QStringList {
            if (index < 0 || index >= record.readings.size())
                return {};
            return content.classCheck.csvFields(record.readings.at(index));
        };
    }
    return CsvWriter::saveRecords(path, content.records, extra);
}

} // namespace ExportFiles
