#pragma once
// The meter's side of the wire: answer frames and the encoders of every kind
// of stored record and of a live reading, plus the records the simulator makes
// up when no scenario gives them.

#include <QByteArray>
#include <QDateTime>
#include <QList>

namespace wire {

constexpr quint8 StartByte = 0x3F;
constexpr quint8 StatusDone = 1;
constexpr quint8 StatusNeedReinit = 2;
constexpr quint8 StatusBusy = 3;
constexpr quint8 StatusNotReady = 4;
constexpr quint8 StatusNoRecord = 5;
constexpr quint8 StatusNoRtc = 6;
constexpr quint8 StatusUnknownCommand = 7;

// Unit codes of the reading entries.
constexpr quint8 UnitDbm = 0;
constexpr quint8 UnitDbmAlt = 1;
constexpr quint8 UnitW = 16;
constexpr quint8 UnitMw = 17;
constexpr quint8 UnitUw = 18;
constexpr quint8 UnitNw = 19;
constexpr quint8 UnitDb = 32;

quint8 sum(const QByteArray &bytes);
// 3F, length, code, fourth byte, payload, checksum.
QByteArray answer(quint8 code, quint8 fourth, const QByteArray &payload);
QByteArray status(quint8 statusCode);
void putU16(QByteArray &out, int value);
void putFloat(QByteArray &out, float value);

} // namespace wire

// One reading at one wavelength (OPM entries, PON items and live readings).
struct Reading {
    int wavelength = 1310;
    float power = -10.0f;
    int unit = wire::UnitDbm;
    float watt = 0.1f;
    int wattUnit = wire::UnitMw;
    float reference = 0.0f;
    int frequency = 0;
    int type = 0;    // PON type code: 0 ONT, 1 OLT, 2 VDO
    int verdict = 0; // PON verdict: 0 pass, 1 warning, 2 fail
};

// What a record is made of before encoding.
struct RecordSpec {
    QByteArray name;                   // raw bytes; empty gives length 0
    int date[6] = {2024, 3, 5, 14, 7, 9}; // year, month, day, hour, minute, second (not checked)
    int number = 1;
    QList<Reading> readings;
    int code = 0;   // answer code; 0 picks the command's own code
    int fourth = 0; // fourth header byte (partial-wave verdict nibbles)
};

// A stored record as it goes on the wire.
struct StoredRecord {
    quint8 code = 0;
    quint8 fourth = 0;
    QByteArray payload;
};

namespace records {

QByteArray head(const RecordSpec &wanted);
// Single-wave, multi-wave and partial-wave records: 18-byte entries of
// wavelength, power, unit, watts, watt unit, reference, frequency.
StoredRecord encodeOpm(const RecordSpec &wanted, quint8 command);
// PON and XG-PON records: 18-byte items of type, wavelength, power, unit,
// watts, watt unit, reference, verdict.
StoredRecord encodePon(const RecordSpec &wanted, quint8 command);
// Time stamp, then the reading's entry with its frequency.
QByteArray encodeRealTime(const Reading &reading, const QDateTime &when);

// Made-up records numbered from 1, the same for the same number every run.
StoredRecord generatedSingle(int number);
StoredRecord generatedMulti(int number);
StoredRecord generatedPartial(int number);
StoredRecord generatedPon(int number);
StoredRecord generatedXgPon(int number);
// A slowly changing live curve, seconds since the simulator started.
Reading liveReading(double seconds);

// Partial-wave verdict codes (0 pass, 1 warning, 2 fail, 3 none) as the two
// nibbles of the fourth header byte.
quint8 verdictByte(int first, int second);

} // namespace records
