#pragma once
// Decoding shared by every measurement frame: a bounded big-endian reader over
// an answer's payload, the record head (name, time, number), the unit table
// and the rules that turn powers, watts and references into display texts.

#include "opmitemdata.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct DevDatas;

namespace ValueFormat {

// Reads big-endian numbers from a payload without ever going past its end: a
// byte missing from a short or truncated payload counts as 0, so a damaged
// answer decodes into zero fields ("---" texts) instead of foreign memory.
class Reader
{
public:
    explicit Reader(const QByteArray &data)
        : data(data.constData()), size(data.size())
    {
    }

    int remaining() const { return size > position ? size - position : 0; }

    quint8 u8()
    {
        const quint8 value = position < size ? static_cast<quint8>(data[position]) : 0;
        ++position;
        return value;
    }
    qint8 s8() { return static_cast<qint8>(u8()); }
    quint16 u16()
    {
        const quint16 high = u8();
        return static_cast<quint16>((high << 8) | u8());
    }
    quint32 u32()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | u8();
        return value;
    }
    float f32(); // IEEE-754 single precision, big-endian
    // Up to n bytes; fewer when the payload ends first.
    QByteArray bytes(int n);
    void skip(int n) { position += n > 0 ? n : 0; }

private:
    const char *data;
    int size;
    int position = 0;
};

// The name, time and number every stored record starts with.
struct RecordHead
{
    QString number;
    QString name;
    QString time;
};

// Name length (signed, < 1 means no name), name bytes, year (2 bytes), month,
// day, hour, minute, second, record number (2 bytes).
RecordHead readRecordHead(Reader &reader);
// "yy/MM/dd HH:mm" of a valid local date-time, "---" otherwise.
QString timeText(int year, int month, int day, int hour, int minute, int second);
// A date-time in a fixed pattern, always with ASCII digits: the system
// locale (Arabic, Persian...) must not change what views, reports and file
// names show.
QString dateTimeText(const QDateTime &when, const QString &pattern);

constexpr int EntrySize = 18; // one wavelength entry of a stored record

// Unit code of a power or watt value: 0 and 1 dBm, 16 w, 17 mw, 18 uw, 19 nw,
// 32 dB; any other code has no unit text.
constexpr quint8 RelativeUnitCode = 0x20;
QString unitText(quint8 code);

// Power limits of the meters: at or below LowLimit the reading is "Low", at or
// above HighLimit it is "High".
constexpr float LowLimit = -80.0f;
constexpr float HighLimit = 50.0f;

// Power text of a dBm value. withLimits applies the Low/High step (stored
// records do, live readings don't); outOfRange tells whether it did.
QString powerText(float power, const DevDatas *devDatas, bool withLimits, bool *outOfRange = nullptr);
// Watt text: the larger the value, the fewer decimals.
QString wattText(float watt);
// Fixed decimals, the float widened to double.
QString fixed(float value, int decimals);
// A count or code as decimal digits, as QString::number writes it.
QString numberText(quint32 value);

QString absentText(); // "---"

// One 18-byte wavelength entry of a single-, multi- or partial-wave record:
// wavelength, power, unit, watts, watt unit, reference, frequency. isLow tells
// whether the power was below the meter's range.
SingleWaveOpmData readOpmEntry(Reader &reader, const DevDatas *devDatas, bool *isLow = nullptr);

} // namespace ValueFormat
