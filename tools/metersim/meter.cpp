#include "meter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr quint8 NoRecordPages = 0xFF;
constexpr int ClockParameterCount = 7;

const char *kindModel(int kind)
{
    switch (kind) {
    case 1: return "LM-P100";
    case 2: return "LM-P200";
    case 3: return "LM-XG300";
    case 4: return "LM-FT400";
    case 5: return "LM-OPM500";
    case 6: return "LM-OPM600";
    case 7: return "LM-OPM700";
    case 8: return "LM-OPM800";
    case 9: return "LM-PW900";
    case 10: return "LM-OPM1000";
    default: return "LM-UNKNOWN";
    }
}

int toInt(const QJsonValue &value, int fallback)
{
    if (value.isString()) {
        bool ok = false;
        const int parsed = value.toString().toInt(&ok, 0);
        return ok ? parsed : fallback;
    }
    return value.isDouble() ? value.toInt(fallback) : fallback;
}

Reading readingFrom(const QJsonObject &object)
{
    Reading r;
    r.wavelength = toInt(object.value(QStringLiteral("wavelength")), r.wavelength);
    r.power = float(object.value(QStringLiteral("power")).toDouble(r.power));
    r.unit = toInt(object.value(QStringLiteral("unit")), r.unit);
    r.watt = float(object.value(QStringLiteral("watt")).toDouble(r.watt));
    r.wattUnit = toInt(object.value(QStringLiteral("wattUnit")), r.wattUnit);
    r.reference = float(object.value(QStringLiteral("reference")).toDouble(r.reference));
    r.frequency = toInt(object.value(QStringLiteral("frequency")), r.frequency);
    r.type = toInt(object.value(QStringLiteral("type")), r.type);
    r.verdict = toInt(object.value(QStringLiteral("verdict")), r.verdict);
    return r;
}

RecordSpec specFrom(const QJsonObject &object, int number)
{
    RecordSpec wanted;
    wanted.number = toInt(object.value(QStringLiteral("number")), number);
    if (object.contains(QStringLiteral("nameHex")))
        wanted.name = QByteArray::fromHex(object.value(QStringLiteral("nameHex")).toString().toLatin1());
    else
        wanted.name = object.value(QStringLiteral("name")).toString().toUtf8();
    const QJsonArray date = object.value(QStringLiteral("date")).toArray();
    for (int i = 0; i < 6 && i < date.size(); ++i)
        wanted.date[i] = date.at(i).toInt();
    const QJsonArray readings = object.value(QStringLiteral("readings")).toArray();
    for (const QJsonValue &value : readings)
        wanted.readings.append(readingFrom(value.toObject()));
    wanted.code = toInt(object.value(QStringLiteral("code")), 0);
    wanted.fourth = toInt(object.value(QStringLiteral("fourth")), 0);
    const QJsonArray verdicts = object.value(QStringLiteral("verdicts")).toArray();
    if (!verdicts.isEmpty())
        wanted.fourth = records::verdictByte(verdicts.at(0).toInt(3), verdicts.size() > 1 ? verdicts.at(1).toInt(3) : 3);
    return wanted;
}
} // namespace

int Request::recordNumber() const
{
    if (!isRecordRequest())
        return -1;
    return (quint8(parameters.at(0)) << 8) | quint8(parameters.at(1));
}

bool Request::isRecordRequest() const
{
    return requestClass == Meter::QueryClass && parameters.size() == 2
        && (command == Meter::SingleRecord || command == Meter::MultiRecord || command == Meter::PonRecord
            || command == Meter::XgPonRecord);
}

Meter::Meter()
{
    clock.start();
}

void Meter::applyKindDefaults()
{
    if (model.isEmpty())
        model = kindModel(kind);
    if (version.isEmpty())
        version = "V2.1.07";
}

bool Meter::offers(Family family) const
{
    switch (family) {
    case Single:
        return (kind >= 5 && kind <= 10 && kind != 9) || ((kind == 1 || kind == 2 || kind == 3) && range != 0);
    case Multi:
        return kind == 5;
    case Partial:
        return kind == 9;
    case Pon:
        return kind == 1 || kind == 2 || kind == 4;
    case XgPon:
        return kind == 3;
    default:
        return false;
    }
}

bool Meter::offersRealTime() const
{
    return kind >= 1 && kind <= 10 && kind != 9 && range != 0;
}

void Meter::generateRecords(int count)
{
    using Maker = StoredRecord (*)(int);
    const Maker makers[FamilyCount] = {records::generatedSingle, records::generatedMulti, records::generatedPartial,
                                       records::generatedPon, records::generatedXgPon};
    for (int f = 0; f < FamilyCount; ++f) {
        if (fromScenario[f])
            continue;
        stored[f].clear();
        if (!offers(Family(f)))
            continue;
        for (int n = 1; n <= count; ++n)
            stored[f].append(makers[f](n));
    }
}

bool Meter::loadScenario(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("%1: %2").arg(path, parseError.errorString());
        return false;
    }
    const QJsonObject root = document.object();
    kind = toInt(root.value(QStringLiteral("kind")), kind);
    range = toInt(root.value(QStringLiteral("range")), range);
    byte2 = toInt(root.value(QStringLiteral("byte2")), byte2);
    recordPages = root.value(QStringLiteral("recordPages")).toBool(recordPages);
    rtc = root.value(QStringLiteral("rtc")).toBool(rtc);
    if (root.contains(QStringLiteral("model")))
        model = root.value(QStringLiteral("model")).toString().toUtf8();
    if (root.contains(QStringLiteral("version")))
        version = root.value(QStringLiteral("version")).toString().toUtf8();
    if (root.contains(QStringLiteral("generate")))
        generateCount = root.value(QStringLiteral("generate")).toInt();

    struct Section { const char *key; Family family; quint8 command; bool pon; };
    const Section sections[] = {{"single", Single, SingleRecord, false}, {"multi", Multi, MultiRecord, false},
                                {"partial", Partial, MultiRecord, false}, {"pon", Pon, PonRecord, true},
                                {"xgpon", XgPon, XgPonRecord, true}};
    for (const Section &section : sections) {
        const QString key = QLatin1String(section.key);
        if (!root.contains(key))
            continue;
        stored[section.family].clear();
        fromScenario[section.family] = true;
        const QJsonArray list = root.value(key).toArray();
        for (int i = 0; i < list.size(); ++i) {
            const QJsonObject object = list.at(i).toObject();
            StoredRecord record;
            if (object.contains(QStringLiteral("payloadHex"))) {
                record.code = quint8(toInt(object.value(QStringLiteral("code")), section.command));
                record.fourth = quint8(toInt(object.value(QStringLiteral("fourth")), 0));
                record.payload = QByteArray::fromHex(object.value(QStringLiteral("payloadHex")).toString().toLatin1());
            } else {
                const RecordSpec wanted = specFrom(object, i + 1);
                record = section.pon ? records::encodePon(wanted, section.command)
                                     : records::encodeOpm(wanted, section.command);
            }
            stored[section.family].append(record);
        }
    }
    const QJsonArray live = root.value(QStringLiteral("realtime")).toArray();
    for (const QJsonValue &value : live)
        liveScript.append(readingFrom(value.toObject()));
    return true;
}

Meter::Family Meter::recordFamily(quint8 command) const
{
    switch (command) {
    case SingleRecord:
        return Single;
    case MultiRecord:
        return kind == 9 ? Partial : Multi;
    case PonRecord:
        return Pon;
    default:
        return XgPon;
    }
}

QByteArray Meter::recordAnswer(Family family, int number) const
{
    const QVector<StoredRecord> &list = stored[family];
    if (number < 1 || number > list.size())
        return wire::status(wire::StatusNoRecord);
    const StoredRecord &record = list.at(number - 1);
    return wire::answer(record.code, record.fourth, record.payload);
}

QByteArray Meter::countAnswer(quint8 command, int count) const
{
    QByteArray payload;
    wire::putU16(payload, count);
    return wire::answer(command, 0, payload);
}

QByteArray Meter::answerFor(const Request &request)
{
    if (request.requestClass == SettingClass) {
        if (request.command == SetClock && request.parameters.size() == ClockParameterCount)
            return wire::status(rtc ? wire::StatusDone : wire::StatusNoRtc);
        return wire::status(wire::StatusUnknownCommand);
    }
    if (request.isRecordRequest())
        return recordAnswer(recordFamily(request.command), request.recordNumber());
    if (!request.parameters.isEmpty())
        return wire::status(wire::StatusUnknownCommand);
    switch (request.command) {
    case DevType: {
        QByteArray payload;
        payload.append(static_cast<char>(kind));
        payload.append(static_cast<char>(range));
        payload.append(static_cast<char>(byte2));
        payload.append(static_cast<char>(recordPages ? 0 : NoRecordPages));
        return wire::answer(DevType, 0, payload);
    }
    case DevModel:
        return wire::answer(DevModel, 0, model + QByteArray(1, '\0'));
    case DevVersion:
        return wire::answer(DevVersion, 0, version + QByteArray(1, '\0'));
    case OpmCount:
        return countAnswer(OpmCount, stored[kind == 9 ? Partial : Single].size());
    case MultiCount:
        return countAnswer(MultiCount, stored[Multi].size());
    case PonCount:
        return countAnswer(PonCount, stored[kind == 3 ? XgPon : Pon].size());
    case RealTime: {
        if (!offersRealTime())
            return wire::status(wire::StatusUnknownCommand);
        Reading reading;
        if (!liveScript.isEmpty())
            reading = liveScript.at(liveIndex++ % liveScript.size());
        else
            reading = records::liveReading(clock.elapsed() / 1000.0);
        return wire::answer(RealTime, 0, records::encodeRealTime(reading, QDateTime::currentDateTime()));
    }
    default:
        return wire::status(wire::StatusUnknownCommand);
    }
}
