#include "commands.h"

#include "frame.h"

namespace Command {

namespace {
constexpr char DevTypeHex[] = "0100010002";
constexpr char DevModelHex[] = "0100030004";
constexpr char DevVersionHex[] = "0100040005";
constexpr char RealTimeHex[] = "0100080009";
constexpr char OpmCountHex[] = "01000E000F";
constexpr char MultiWaveCountHex[] = "0100160017";
constexpr char PonCountHex[] = "01000D000E";
constexpr char SingleWaveRecordHead[] = "01020600";
constexpr char MultiWaveRecordHead[] = "01020700";
constexpr char PonRecordHead[] = "01020900";
constexpr char XgPonRecordHead[] = "01020A00";
constexpr char SetClockHead[] = "02070200";

QByteArray number16(int value)
{
    QByteArray bytes;
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    bytes.append(static_cast<char>(value & 0xFF));
    return bytes;
}
} // namespace

QByteArray build(const char *hexHead, const QByteArray &parameters)
{
    QByteArray request = QByteArray::fromHex(hexHead);
    request.append(parameters);
    request.append(static_cast<char>(byteSum(request)));
    return request;
}

QByteArray devType() { return QByteArray::fromHex(DevTypeHex); }
QByteArray devModel() { return QByteArray::fromHex(DevModelHex); }
QByteArray devVersion() { return QByteArray::fromHex(DevVersionHex); }
QByteArray realTimeValue() { return QByteArray::fromHex(RealTimeHex); }
QByteArray opmCount() { return QByteArray::fromHex(OpmCountHex); }
QByteArray multiWaveCount() { return QByteArray::fromHex(MultiWaveCountHex); }
QByteArray ponCount() { return QByteArray::fromHex(PonCountHex); }

QByteArray singleWaveRecord(int number) { return build(SingleWaveRecordHead, number16(number)); }
QByteArray multiWaveRecord(int number) { return build(MultiWaveRecordHead, number16(number)); }
QByteArray ponRecord(int number) { return build(PonRecordHead, number16(number)); }
QByteArray xgPonRecord(int number) { return build(XgPonRecordHead, number16(number)); }

QByteArray setClock(int year, int month, int day, int hour, int minute, int second)
{
    QByteArray parameters = number16(year);
    for (int value : {month, day, hour, minute, second})
        parameters.append(static_cast<char>(value & 0xFF));
    return build(SetClockHead, parameters);
}

} // namespace Command
