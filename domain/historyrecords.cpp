#include "domain/historyrecords.h"

#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "link/realtimeopmvalue.h"

#include <QDate>
#include <QTime>
#include <iterator>

namespace History {

namespace {

Reading readingOf(const SingleWaveOpmData &wave, int verdict)
{
    return {wave.wavelength, wave.power,     wave.powerUnit, wave.reference,
            wave.powerW + wave.powerWUnit, wave.frequency, verdict};
}

// Each family's name and its page, in the order the window lists the pages.
struct FamilyName {
    PageType type;
    const char *name;
};
constexpr FamilyName FamilyNames[] = {{PageType::Opm, "single"}, {PageType::MultiWave, "multi"},
                                      {PageType::Partial, "partial"}, {PageType::Pon, "pon"},
                                      {PageType::XGPon, "xgpon"}, {PageType::Chart, "live"}};

constexpr const char *VerdictWords[] = {"pass", "warning", "fail"};

} // namespace

QString familyOf(PageType type)
{
    for (const FamilyName &family : FamilyNames) {
        if (family.type == type)
            return QLatin1String(family.name);
    }
    return QString();
}

PageType pageOf(const QString &family)
{
    for (const FamilyName &known : FamilyNames) {
        if (family == QLatin1String(known.name))
            return known.type;
    }
    return PageType::None;
}

QString verdictWord(int verdict)
{
    return verdict >= 0 && verdict < int(std::size(VerdictWords)) ? QLatin1String(VerdictWords[verdict]) : QString();
}

int verdictOf(const QString &word)
{
    for (int verdict = 0; verdict < int(std::size(VerdictWords)); ++verdict) {
        if (word == QLatin1String(VerdictWords[verdict]))
            return verdict;
    }
    return -1;
}

QString isoTime(const QString &shownTime)
{
    // Read by hand: Qt's date parser looks at the time zone on every call,
    // which would cost more than storing the record.
    const auto number = [&shownTime](int at, int *value) {
        const QChar tens = shownTime.at(at);
        const QChar ones = shownTime.at(at + 1);
        if (tens < QLatin1Char('0') || tens > QLatin1Char('9') || ones < QLatin1Char('0') || ones > QLatin1Char('9'))
            return false;
        *value = (tens.unicode() - '0') * 10 + (ones.unicode() - '0');
        return true;
    };
    // "yy/MM/dd HH:mm"
    if (shownTime.size() != 14 || shownTime.at(2) != QLatin1Char('/') || shownTime.at(5) != QLatin1Char('/')
        || shownTime.at(8) != QLatin1Char(' ') || shownTime.at(11) != QLatin1Char(':'))
        return QString();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!number(0, &year) || !number(3, &month) || !number(6, &day) || !number(9, &hour) || !number(12, &minute))
        return QString();
    // Two-digit years are this century's; the meter's own local time, no zone.
    if (!QDate::isValid(2000 + year, month, day) || !QTime::isValid(hour, minute, 0))
        return QString();
    return QStringLiteral("20%1-%2-%3T%4:%5:00")
        .arg(year, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'));
}

Record recordOf(const QString &family, const OpmItemData &item)
{
    Record record;
    record.family = family;
    record.number = item.number;
    record.name = item.name;
    record.time = item.time;
    for (const SingleWaveOpmData &wave : item.singleWaveOpmDatas)
        record.readings << readingOf(wave, -1);
    for (const PartialOpmData &p : item.partialOpmDatas) {
        record.readings << readingOf(p.wave1, p.passStatus1);
        if (p.waveCount == 2)
            record.readings << readingOf(p.wave2, p.passStatus2);
    }
    return record;
}

Record recordOf(const QString &family, const PonOpmItemData &item)
{
    Record record;
    record.family = family;
    record.number = item.number;
    record.name = item.name;
    record.time = item.time;
    for (const PowerInfo &info : item.powerInfos)
        record.readings << Reading{info.wavelength, info.power,  info.powerUnit,  info.reference,
                                   info.powerW + info.powerWUnit, QString(), info.passStatus};
    return record;
}

Record recordFrom(const QString &family, const Frame *frame)
{
    Record record;
    if (auto *opm = qobject_cast<const OpmValueFrame *>(frame)) {
        if (!opm->itemData.number.isEmpty())
            record = recordOf(family, opm->itemData);
    } else if (auto *partial = qobject_cast<const PartialOpmValueFrame *>(frame)) {
        if (!partial->itemData.number.isEmpty())
            record = recordOf(family, partial->itemData);
    } else if (auto *pon = qobject_cast<const PonFrame *>(frame)) {
        if (!pon->itemData.number.isEmpty())
            record = recordOf(family, pon->itemData);
    }
    if (!record.family.isEmpty())
        record.payload = frame->payload;
    return record;
}

LiveReading LiveReading::of(const QDateTime &arrival, const RealTimeOpmValue &value)
{
    LiveReading reading;
    reading.arrival = arrival;
    reading.wavelength = value.wavelength;
    reading.powerText = value.power;
    reading.unit = value.powerUnit;
    reading.frequency = value.frequency;
    reading.reference = value.reference;
    reading.watt = value.powerW + value.powerWUnit;
    reading.power = double(value.powerValue);
    return reading;
}

RealTimeOpmValue LiveReading::value() const
{
    RealTimeOpmValue value;
    value.wavelength = wavelength;
    value.power = powerText;
    value.powerUnit = unit;
    value.frequency = frequency;
    value.reference = reference;
    // The watts' unit is the letters at the end ("w", "mw", "uw", "nw").
    int number = watt.size();
    while (number > 0 && watt.at(number - 1).isLetter())
        --number;
    value.powerW = watt.left(number);
    value.powerWUnit = watt.mid(number);
    // A float widened to a double narrows back to the same float.
    value.powerValue = power ? float(*power) : powerText.toFloat();
    value.powerWValue = value.powerW.toFloat();
    value.referenceValue = reference.toFloat();
    return value;
}

} // namespace History
