#include "valueformat.h"

#include "devdatas.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace ValueFormat {

namespace {
const QString Absent = QStringLiteral("---");
const QString ZeroPower = QStringLiteral("0.00");
const QString NegativeZeroPower = QStringLiteral("-0.00");
const QString LowText = QStringLiteral("Low");
const QString HighText = QStringLiteral("High");

// Below the threshold of its range a meter resolves only a tenth of a dB.
float rangeThreshold(int rangeCode, bool *hasThreshold)
{
    *hasThreshold = true;
    switch (rangeCode) {
    case 1:
        return -60.0f;
    case 2:
        return -50.0f;
    case 3:
        return -40.0f;
    case 4:
        return -30.0f;
    default:
        *hasThreshold = false;
        return 0.0f;
    }
}
} // namespace

float Reader::f32()
{
    const quint32 bits = u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray Reader::bytes(int n)
{
    const int available = qMin(qMax(n, 0), remaining());
    const QByteArray result(data + qMin(position, size), available);
    skip(n);
    return result;
}

RecordHead readRecordHead(Reader &reader)
{
    RecordHead head;
    const int nameLength = reader.s8();
    if (nameLength < 1) {
        head.name = Absent;
    } else {
        const QByteArray raw = reader.bytes(nameLength);
        head.name = QString::fromUtf8(raw.constData(), static_cast<int>(qstrnlen(raw.constData(), raw.size())));
    }
    const int year = reader.u16();
    const int month = reader.u8();
    const int day = reader.u8();
    const int hour = reader.u8();
    const int minute = reader.u8();
    const int second = reader.u8();
    head.time = timeText(year, month, day, hour, minute, second);
    head.number = numberText(reader.u16());
    return head;
}

namespace {
// Whether the PC's zone has this wall-clock time, i.e. it is not inside a
// daylight-saving gap. The C library looks at the zone file on every
// local-time conversion, so a day whose two ends are valid with the same UTC
// offset (no zone change that day) is asked about once; only the times of a
// day with a change are asked one by one.
bool existsLocally(const QDate &date, const QTime &time)
{
    struct Day
    {
        qint64 julian = std::numeric_limits<qint64>::min();
        bool zoneSet = false;
        std::string zone;
        bool withoutChange = false;
    };
    thread_local Day last;
    const char *zone = std::getenv("TZ");
    const bool sameZone = zone ? (last.zoneSet && last.zone == zone) : !last.zoneSet;
    if (!sameZone || last.julian != date.toJulianDay()) {
        const QDateTime start(date, QTime(0, 0), Qt::LocalTime);
        const QDateTime end(date, QTime(23, 59, 59), Qt::LocalTime);
        last.julian = date.toJulianDay();
        last.zoneSet = zone != nullptr;
        last.zone = zone ? zone : "";
        last.withoutChange = start.isValid() && end.isValid() && start.offsetFromUtc() == end.offsetFromUtc();
    }
    if (last.withoutChange)
        return true;
    return QDateTime(date, time, Qt::LocalTime).isValid();
}

void putTwoDigits(QChar *out, int value)
{
    out[0] = QLatin1Char(char('0' + value / 10));
    out[1] = QLatin1Char(char('0' + value % 10));
}
} // namespace

QString timeText(int year, int month, int day, int hour, int minute, int second)
{
    // QDateTime quietly turns an invalid time of a valid day into midnight, so
    // date and time are checked on their own.
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid() || !existsLocally(date, time))
        return Absent;
    // "yy/MM/dd HH:mm", written directly: the meter's own clock fields.
    QString text(14, Qt::Uninitialized);
    QChar *out = text.data();
    putTwoDigits(out, date.year() % 100);
    out[2] = QLatin1Char('/');
    putTwoDigits(out + 3, month);
    out[5] = QLatin1Char('/');
    putTwoDigits(out + 6, day);
    out[8] = QLatin1Char(' ');
    putTwoDigits(out + 9, hour);
    out[11] = QLatin1Char(':');
    putTwoDigits(out + 12, minute);
    return text;
}

QString dateTimeText(const QDateTime &when, const QString &pattern)
{
    return QLocale::c().toString(when, pattern);
}

QString fixed(float value, int decimals)
{
    // Up to three decimals of a float are worked out exactly here: a float
    // times 1000 still fits a double's mantissa (24 + 10 bits), so rounding
    // half away from zero (as QString::number does) needs no decimal
    // arithmetic. Anything else goes the long way, with the same result.
    static constexpr double Scale[] = {1.0, 10.0, 100.0, 1000.0};
    const double magnitude = std::fabs(static_cast<double>(value));
    if (decimals < 0 || decimals > 3 || !(magnitude < 1e12))
        return QString::number(static_cast<double>(value), 'f', decimals);
    const double scaled = magnitude * Scale[decimals];
    quint64 units = static_cast<quint64>(scaled);
    if (scaled - static_cast<double>(units) >= 0.5)
        ++units;
    char digits[24];
    char *end = digits + sizeof digits;
    char *p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = char('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = char('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (value < 0.0f)
        *--p = '-';
    return QString::fromLatin1(p, int(end - p));
}

QString numberText(quint32 value)
{
    char digits[12];
    char *end = digits + sizeof digits;
    char *p = end;
    do {
        *--p = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return QString::fromLatin1(p, int(end - p));
}

QString unitText(quint8 code)
{
    switch (code) {
    case 0:
    case 1:
        return QStringLiteral("dBm");
    case 16:
        return QStringLiteral("w");
    case 17:
        return QStringLiteral("mw");
    case 18:
        return QStringLiteral("uw");
    case 19:
        return QStringLiteral("nw");
    case RelativeUnitCode:
        return QStringLiteral("dB");
    default:
        return QString();
    }
}

QString powerText(float power, const DevDatas *devDatas, bool withLimits, bool *outOfRange)
{
    if (outOfRange)
        *outOfRange = false;
    if (withLimits && (power <= LowLimit || power >= HighLimit)) {
        if (outOfRange)
            *outOfRange = true;
        return power <= LowLimit ? LowText : HighText;
    }
    bool hasThreshold = false;
    const float threshold = rangeThreshold(devDatas ? devDatas->rangeCode : 0, &hasThreshold);
    if (hasThreshold && power < threshold)
        return fixed(power, 1);
    // Hundredths rounded half away from zero, in single precision like the
    // meter; truncating in float keeps huge or non-finite values defined.
    float hundredths = power * 100.0f;
    hundredths = hundredths > 0.0f ? hundredths + 0.5f : hundredths - 0.5f;
    if (std::trunc(hundredths) == 0.0f)
        return ZeroPower;
    // A value a hair above -0.005 rounds to -1 hundredth in single precision
    // but prints as -0.00 in double: it is still a zero.
    const QString text = fixed(power, 2);
    return text == NegativeZeroPower ? ZeroPower : text;
}

QString wattText(float watt)
{
    int decimals = 2; // 10 <= |w| < 100, and exactly +-10
    if (watt > -10.0f && watt < 10.0f)
        decimals = 3;
    else if ((watt >= 100.0f && watt < 1000.0f) || (watt > -1000.0f && watt <= -100.0f))
        decimals = 1;
    else if (watt >= 1000.0f || watt <= -1000.0f)
        decimals = 0;
    return fixed(watt, decimals);
}

QString absentText()
{
    return Absent;
}

SingleWaveOpmData readOpmEntry(Reader &reader, const DevDatas *devDatas, bool *isLow)
{
    SingleWaveOpmData data;
    data.wavelength = numberText(reader.u16());
    const float power = reader.f32();
    bool outOfRange = false;
    data.power = powerText(power, devDatas, true, &outOfRange);
    const quint8 unitCode = reader.u8();
    data.isRelative = unitCode == RelativeUnitCode;
    if (!outOfRange)
        data.powerUnit = unitText(unitCode);
    const float watt = reader.f32();
    const quint8 wattUnitCode = reader.u8();
    if (outOfRange) {
        data.powerW = Absent;
    } else {
        data.powerWUnit = unitText(wattUnitCode);
        data.powerW = wattText(watt);
    }
    const float reference = reader.f32();
    const quint16 frequency = reader.u16();
    if (outOfRange) {
        data.reference = Absent;
        data.frequency = Absent;
    } else {
        // A reference only means something for a relative (dB) reading.
        data.reference = data.isRelative && data.powerUnit != QLatin1String("dBm") ? fixed(reference, 2) : Absent;
        data.frequency = frequency == 0 ? Absent : numberText(frequency);
    }
    data.outOfRange = outOfRange;
    if (isLow)
        *isLow = outOfRange && power <= LowLimit;
    return data;
}

} // namespace ValueFormat
