#include "report/realtimexlsx.h"
#include "report/reportsheet.h"

#include <QLocale>

#include <algorithm>

namespace {

// Powers at or beyond these levels are outside what the meter measures.
constexpr float kLowLevel = -75.5f;
constexpr float kHighLevel = 49.5f;

} // namespace

RealTimeXlsx::RealTimeXlsx(QObject *parent)
    : QObject(parent)
{
}

bool RealTimeXlsx::save(const QList<QDateTime> &times, const QList<RealTimeOpmValue> &readings,
                        const QString &dir)
{
    ReportSheet sheet(tr("OPM real-time values"));
    sheet.writeHeader({tr("No."), tr("Date"), tr("Time"), tr("Wavelength(nm)"), tr("Power(dBm)"),
                       tr("Freqency(Hz)")});

    // Sample s keeps its index on the curve as its number; every sample,
    // the first one included, gets a row.
    const int samples = std::min(times.size(), readings.size());
    for (int s = 0; s < samples; ++s) {
        const RealTimeOpmValue &reading = readings.at(s);
        const int row = s + 2;
        const float power = reading.power.toFloat();
        QString powerText = reading.power;
        if (power <= kLowLevel)
            powerText = QStringLiteral("Low");
        else if (power >= kHighLevel)
            powerText = QStringLiteral("High");

        sheet.writeNumber(row, 1, s);
        sheet.writeText(row, 2, QLocale::c().toString(times.at(s), QStringLiteral("yyyy/MM/dd")));
        sheet.writeText(row, 3, QLocale::c().toString(times.at(s), QStringLiteral("HH:mm:ss")));
        sheet.writeText(row, 4, reading.wavelength);
        sheet.writeText(row, 5, powerText);
        sheet.writeText(row, 6, reading.frequency);
    }
    return sheet.save(dir, QStringLiteral("-RT.xlsx"));
}
