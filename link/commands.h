#pragma once
// Requests to the meter: class byte (0x01 query, 0x02 setting), parameter
// length, command code, 0x00, parameters, checksum over all before it.

#include <QByteArray>

namespace Command {

QByteArray devType();             // 01 00 01 00 02
QByteArray devModel();            // 01 00 03 00 04
QByteArray devVersion();          // 01 00 04 00 05
QByteArray realTimeValue();       // 01 00 08 00 09
QByteArray opmCount();            // 01 00 0E 00 0F
QByteArray multiWaveCount();      // 01 00 16 00 17
QByteArray ponCount();            // 01 00 0D 00 0E

// Record requests take the record number's low 16 bits, high byte first.
QByteArray singleWaveRecord(int number);   // 01 02 06 00 NH NL CS
QByteArray multiWaveRecord(int number);    // 01 02 07 00 NH NL CS (also partial-wave)
QByteArray ponRecord(int number);          // 01 02 09 00 NH NL CS
QByteArray xgPonRecord(int number);        // 01 02 0A 00 NH NL CS

// 02 07 02 00 YH YL MO DD HH MI SS CS
QByteArray setClock(int year, int month, int day, int hour, int minute, int second);

// Head (as hexadecimal text) + parameters + checksum.
QByteArray build(const char *hexHead, const QByteArray &parameters);

} // namespace Command
