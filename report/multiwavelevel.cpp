#include "report/multiwavelevel.h"

namespace {
constexpr double LowLevel = -79.9;
constexpr double HighLevel = 49.9;
} // namespace

MultiWaveLevel multiWaveLevel(const SingleWaveOpmData &reading)
{
    const double level = double(reading.power.toFloat()) + double(reading.reference.toFloat());
    if (level <= LowLevel)
        return MultiWaveLevel::Low;
    if (level >= HighLevel)
        return MultiWaveLevel::High;
    return MultiWaveLevel::InRange;
}

QString multiWavePowerText(const SingleWaveOpmData &reading)
{
    const QString low = QStringLiteral("Low");
    const QString high = QStringLiteral("High");
    if (reading.power == low || reading.power == high)
        return reading.power;
    switch (multiWaveLevel(reading)) {
    case MultiWaveLevel::Low:
        return low;
    case MultiWaveLevel::High:
        return high;
    case MultiWaveLevel::InRange:
        break;
    }
    const bool relative = reading.reference != QLatin1String("---");
    return reading.power + (relative ? QStringLiteral("dB") : QStringLiteral("dBm"));
}
