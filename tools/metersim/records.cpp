#include "records.h"

#include <cmath>
#include <cstring>

namespace wire {

quint8 sum(const QByteArray &bytes)
{
    unsigned total = 0;
    for (char c : bytes)
        total += static_cast<quint8>(c);
    return static_cast<quint8>(total & 0xFF);
}

constexpr int MaxPayload = 255;

QByteArray answer(quint8 code, quint8 fourth, const QByteArray &payload)
{
    // The length travels in one byte: a longer payload is cut to fit, and
    // the length byte says what is really sent.
    const QByteArray sent = payload.left(MaxPayload);
    QByteArray frame;
    frame.append(static_cast<char>(StartByte));
    frame.append(static_cast<char>(sent.size()));
    frame.append(static_cast<char>(code));
    frame.append(static_cast<char>(fourth));
    frame.append(sent);
    frame.append(static_cast<char>(sum(frame)));
    return frame;
}

QByteArray status(quint8 statusCode)
{
    return answer(0, 0, QByteArray(1, static_cast<char>(statusCode)));
}

void putU16(QByteArray &out, int value)
{
    out.append(static_cast<char>((value >> 8) & 0xFF));
    out.append(static_cast<char>(value & 0xFF));
}

void putFloat(QByteArray &out, float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((bits >> shift) & 0xFF));
}

} // namespace wire

namespace records {

namespace {
constexpr int EntrySize = 18;
constexpr int OpmWavelengths[] = {1310, 1550, 850, 1300, 1490, 1625};
constexpr int PonWavelengths[] = {1310, 1490, 1550};
constexpr int XgPonWavelengths[] = {1270, 1577, 1310, 1490, 1550};
constexpr quint8 MultiWaveCode = 0x07;
constexpr quint8 MultiWaveCode17 = 0x17;

// The power as the meter shows it in a linear unit, with that unit's code.
void linearPower(Reading &reading)
{
    const double milliwatts = std::pow(10.0, reading.power / 10.0);
    if (milliwatts >= 1.0) {
        reading.watt = float(milliwatts);
        reading.wattUnit = wire::UnitMw;
    } else if (milliwatts >= 1e-3) {
        reading.watt = float(milliwatts * 1e3);
        reading.wattUnit = wire::UnitUw;
    } else {
        reading.watt = float(milliwatts * 1e6);
        reading.wattUnit = wire::UnitNw;
    }
}

// Names: plain, none at all, non-ASCII, and padded with zero bytes.
QByteArray generatedName(int number)
{
    if (number % 7 == 0)
        return {};
    if (number % 7 == 3)
        return QStringLiteral("光纤-%1").arg(number).toUtf8();
    if (number % 11 == 5)
        return QByteArray("R") + QByteArray::number(number) + QByteArray(3, '\0');
    return QStringLiteral("REC-%1").arg(number, 3, 10, QLatin1Char('0')).toLatin1();
}

RecordSpec generatedHead(int number)
{
    RecordSpec wanted;
    wanted.number = number;
    wanted.name = generatedName(number);
    const QDateTime base(QDate(2024, 3, 5), QTime(8, 0));
    const QDateTime when = base.addSecs(qint64(number) * 617);
    wanted.date[0] = when.date().year();
    wanted.date[1] = when.date().month();
    wanted.date[2] = when.date().day();
    wanted.date[3] = when.time().hour();
    wanted.date[4] = when.time().minute();
    wanted.date[5] = when.time().second();
    if (number % 13 == 6)
        wanted.date[1] = 0; // month 0: the meter's clock was never set
    else if (number % 13 == 12)
        wanted.date[3] = 24;
    return wanted;
}

// Powers across the whole range, with the special ones every few records:
// below and above the measurable range, a tiny negative, and a weak signal.
Reading generatedReading(int number, int index)
{
    Reading reading;
    reading.wavelength = OpmWavelengths[(number + index) % int(std::size(OpmWavelengths))];
    const int key = number * 7 + index * 3;
    reading.power = -5.0f - float(key % 50) - float((key * 37) % 100) / 100.0f;
    if (number % 17 == 4 && index == 0)
        reading.power = -85.0f;
    else if (number % 17 == 9 && index == 0)
        reading.power = 55.0f;
    else if (number % 17 == 13)
        reading.power = -0.004f;
    else if (number % 19 == 7)
        reading.power = -65.35f;
    linearPower(reading);
    switch (number % 5) {
    case 2:
        reading.unit = wire::UnitDb;
        reading.reference = -3.25f - float(index);
        break;
    case 4:
        reading.unit = wire::UnitDbmAlt;
        break;
    default:
        reading.unit = wire::UnitDbm;
        break;
    }
    static constexpr int Frequencies[] = {0, 270, 1000, 2000};
    reading.frequency = Frequencies[(number + index) % 4];
    return reading;
}
} // namespace

QByteArray head(const RecordSpec &wanted)
{
    QByteArray out;
    const QByteArray name = wanted.name.left(127);
    out.append(static_cast<char>(name.size()));
    out.append(name);
    wire::putU16(out, wanted.date[0]);
    for (int i = 1; i < 6; ++i)
        out.append(static_cast<char>(wanted.date[i] & 0xFF));
    wire::putU16(out, wanted.number);
    return out;
}

StoredRecord encodeOpm(const RecordSpec &wanted, quint8 command)
{
    StoredRecord record;
    record.code = wanted.code ? quint8(wanted.code) : command;
    record.fourth = quint8(wanted.fourth);
    record.payload = head(wanted);
    for (const Reading &r : wanted.readings) {
        QByteArray entry;
        wire::putU16(entry, r.wavelength);
        wire::putFloat(entry, r.power);
        entry.append(static_cast<char>(r.unit));
        wire::putFloat(entry, r.watt);
        entry.append(static_cast<char>(r.wattUnit));
        wire::putFloat(entry, r.reference);
        wire::putU16(entry, r.frequency);
        Q_ASSERT(entry.size() == EntrySize);
        record.payload.append(entry);
    }
    return record;
}

StoredRecord encodePon(const RecordSpec &wanted, quint8 command)
{
    StoredRecord record;
    record.code = wanted.code ? quint8(wanted.code) : command;
    record.fourth = quint8(wanted.fourth);
    record.payload = head(wanted);
    for (const Reading &r : wanted.readings) {
        QByteArray entry;
        entry.append(static_cast<char>(r.type));
        wire::putU16(entry, r.wavelength);
        wire::putFloat(entry, r.power);
        entry.append(static_cast<char>(r.unit));
        wire::putFloat(entry, r.watt);
        entry.append(static_cast<char>(r.wattUnit));
        wire::putFloat(entry, r.reference);
        entry.append(static_cast<char>(r.verdict));
        Q_ASSERT(entry.size() == EntrySize);
        record.payload.append(entry);
    }
    return record;
}

QByteArray encodeRealTime(const Reading &r, const QDateTime &when)
{
    QByteArray out;
    wire::putU16(out, when.date().year());
    out.append(static_cast<char>(when.date().month()));
    out.append(static_cast<char>(when.date().day()));
    out.append(static_cast<char>(when.time().hour()));
    out.append(static_cast<char>(when.time().minute()));
    out.append(static_cast<char>(when.time().second()));
    wire::putU16(out, r.wavelength);
    wire::putFloat(out, r.power);
    out.append(static_cast<char>(r.unit));
    wire::putFloat(out, r.watt);
    out.append(static_cast<char>(r.wattUnit));
    wire::putFloat(out, r.reference);
    wire::putU16(out, r.frequency);
    return out;
}

quint8 verdictByte(int first, int second)
{
    // 1 pass, 2 warning, 3 fail in each nibble; 0 means no verdict.
    auto nibble = [](int verdict) { return verdict >= 0 && verdict <= 2 ? verdict + 1 : 0; };
    return quint8(nibble(first) | (nibble(second) << 4));
}

StoredRecord generatedSingle(int number)
{
    RecordSpec wanted = generatedHead(number);
    wanted.readings.append(generatedReading(number, 0));
    return encodeOpm(wanted, 0x06);
}

StoredRecord generatedMulti(int number)
{
    RecordSpec wanted = generatedHead(number);
    const int waves = 1 + number % 5;
    for (int i = 0; i < waves; ++i)
        wanted.readings.append(generatedReading(number, i));
    wanted.code = number % 4 == 0 ? MultiWaveCode17 : MultiWaveCode;
    return encodeOpm(wanted, MultiWaveCode);
}

StoredRecord generatedPartial(int number)
{
    RecordSpec wanted = generatedHead(number);
    const int waves = 1 + number % 2;
    for (int i = 0; i < waves; ++i)
        wanted.readings.append(generatedReading(number, i));
    // Every nibble value in turn: none, pass, warning, fail.
    wanted.fourth = (number % 4) | (((number / 4) % 4) << 4);
    return encodeOpm(wanted, MultiWaveCode);
}

namespace {
StoredRecord generatedPonLike(int number, const int *wavelengths, int wavelengthCount, int items, quint8 command)
{
    RecordSpec wanted = generatedHead(number);
    for (int i = 0; i < items; ++i) {
        Reading r = generatedReading(number, i);
        r.type = i % 3;
        r.wavelength = wavelengths[i % wavelengthCount];
        r.verdict = (number + i) % 3;
        if (number % 5 == 1)
            r.unit = wire::UnitDbmAlt; // shown in watts on the PON page
        wanted.readings.append(r);
    }
    return encodePon(wanted, command);
}
} // namespace

StoredRecord generatedPon(int number)
{
    const int items = number % 4 == 1 ? 2 : (number % 4 == 3 ? 1 : 3);
    return generatedPonLike(number, PonWavelengths, int(std::size(PonWavelengths)), items, 0x09);
}

StoredRecord generatedXgPon(int number)
{
    return generatedPonLike(number, XgPonWavelengths, int(std::size(XgPonWavelengths)), 1 + number % 5, 0x0A);
}

Reading liveReading(double seconds)
{
    constexpr double Pi = 3.14159265358979323846;
    Reading r;
    r.wavelength = 1310;
    r.power = float(-12.0 + 4.0 * std::sin(2 * Pi * seconds / 90.0) + 0.6 * std::sin(2 * Pi * seconds / 13.0)
                    + 0.05 * std::sin(seconds * 7.3));
    r.unit = wire::UnitDbm;
    linearPower(r);
    r.reference = -10.0f;
    r.frequency = 0;
    return r;
}

} // namespace records
