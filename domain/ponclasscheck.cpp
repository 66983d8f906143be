#include "domain/ponclasscheck.h"

#include "domain/configuration.h"
#include "link/ponopmitemdata.h"

#include <QSettings>
#include <cmath>

namespace {
constexpr char Group[] = "ponClass";
// One key per technology; files from before hold a single class= key.
constexpr char GponKey[] = "gpon";
constexpr char XgPonKey[] = "xgpon";
constexpr char LegacyClassKey[] = "class";
constexpr char VideoKey[] = "video";
constexpr char WarningMarginKey[] = "warningMargin";
constexpr int MarginDecimals = 2;
// Margins are compared in the meter's resolution (0.01 dB), so that a
// reading exactly the warning margin from a limit is within however the
// subtraction rounds.
constexpr double Hundredths = 100.0;
// The colours of the pages' warning and fail icons.
const QString WarningStyle = QStringLiteral("color: rgb(242, 148, 56);");
const QString OutsideStyle = QStringLiteral("color: rgb(217, 54, 62);");
// The meter's texts for a reading beyond its range.
const QString LowText = QStringLiteral("Low");
const QString HighText = QStringLiteral("High");

// Every value below is the ONU side of the optical interface tables, as dBm
// at the ONU's optical connector.
//
// GPON, ITU-T G.984.2: downstream 1480-1500 nm (clause 8.2.5.1), upstream
// 1260-1360 nm (clause 8.2.5.2). Class B+ is the B+ column of the optical
// budget for 2.488 Gbit/s downstream / 1.244 Gbit/s upstream that Amendment
// 1 added as Appendix III (Table III.1); class C+ comes from Amendment 2,
// Appendix V (now part of the consolidated G.984.2 of 08/2019). ONU receiver
// minimum sensitivity -27 dBm (B+) and -30 dBm (C+), minimum overload
// -8 dBm; ONU transmitter mean launched power +0.5 to +5 dBm for both.
//
// XG-PON, ITU-T G.987.2: downstream 1575-1580 nm (clause 9.2.5.1), upstream
// 1260-1280 nm (clause 9.2.5.2). Clause 9.2.6.2, table "Optical interface
// parameters of 9.95328 Gbit/s downstream direction": ONU minimum
// sensitivity -28 dBm, minimum overload -8 dBm for N1 and N2a; clause
// 9.2.6.3, table "Optical interface parameters of 2.48832 Gbit/s upstream
// direction": ONU mean launch power +2 to +7 dBm. These N1/N2a figures
// could not be checked against a public copy of the Recommendation; every
// one of them can be overridden in settings.ini.
//
// XGS-PON, ITU-T G.9807.1: same wavelength plan as XG-PON. Annex B, clause
// B.9.2.6, tables of the 9.95328 Gbit/s downstream and upstream optical
// interface parameters: ONU minimum sensitivity -28 dBm, minimum overload
// -9 dBm, ONU mean launch power +4 to +9 dBm, for N1 and N2 alike.
const QList<PonClassCheck::OpticalClass> &classTable()
{
    using B = PonClassCheck::Band;
    using L = PonClassCheck::Limits;
    constexpr PonClassCheck::Technology Gpon = PonClassCheck::Technology::Gpon;
    constexpr PonClassCheck::Technology Xg = PonClassCheck::Technology::XgPon;
    constexpr double Margin = PonClassCheck::DefaultWarningMargin;
    static const B gponDown{1480, 1500};
    static const B gponUp{1260, 1360};
    static const B xgDown{1575, 1580};
    static const B xgUp{1260, 1280};
    static const QList<PonClassCheck::OpticalClass> table{
        {QStringLiteral("gpon-bplus"), QStringLiteral("GPON B+"), Gpon,
         gponDown, L{-27.0, -8.0}, gponUp, L{0.5, 5.0}, Margin},
        {QStringLiteral("gpon-cplus"), QStringLiteral("GPON C+"), Gpon,
         gponDown, L{-30.0, -8.0}, gponUp, L{0.5, 5.0}, Margin},
        {QStringLiteral("xgpon-n1"), QStringLiteral("XG-PON N1"), Xg,
         xgDown, L{-28.0, -8.0}, xgUp, L{2.0, 7.0}, Margin},
        {QStringLiteral("xgpon-n2a"), QStringLiteral("XG-PON N2a"), Xg,
         xgDown, L{-28.0, -8.0}, xgUp, L{2.0, 7.0}, Margin},
        {QStringLiteral("xgspon-n1"), QStringLiteral("XGS-PON N1"), Xg,
         xgDown, L{-28.0, -9.0}, xgUp, L{4.0, 9.0}, Margin},
        {QStringLiteral("xgspon-n2"), QStringLiteral("XGS-PON N2"), Xg,
         xgDown, L{-28.0, -9.0}, xgUp, L{4.0, 9.0}, Margin},
    };
    return table;
}

// One limit from settings.ini, or the built-in value when it is missing or
// not a number.
double limitSetting(const QSettings &settings, const QString &key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

PonClassCheck::Limits limitsSetting(const QSettings &settings, const QString &prefix,
                                    const PonClassCheck::Limits &fallback)
{
    return {limitSetting(settings, prefix + QStringLiteral("Min"), fallback.minimum),
            limitSetting(settings, prefix + QStringLiteral("Max"), fallback.maximum)};
}

QString number(double value)
{
    return QString::number(value, 'f', MarginDecimals);
}

QString groupKey(const char *key)
{
    return QLatin1String(Group) + QLatin1Char('/') + QLatin1String(key);
}

const char *technologyKey(PonClassCheck::Technology technology)
{
    return technology == PonClassCheck::Technology::Gpon ? GponKey : XgPonKey;
}

const PonClassCheck::OpticalClass *builtInClass(const QString &key)
{
    for (const PonClassCheck::OpticalClass &opticalClass : classTable()) {
        if (opticalClass.key == key)
            return &opticalClass;
    }
    return nullptr;
}

QString normalisedKey(const QVariant &value)
{
    return value.toString().trimmed().toLower();
}
} // namespace

const QList<PonClassCheck::OpticalClass> &PonClassCheck::builtInClasses()
{
    return classTable();
}

// The 1550-1560 nm enhancement band of ITU-T G.983.3 carries the video
// overlay. No PON Recommendation fixes the video receiver's input range (it
// follows the RF design of the overlay); -8 to +2 dBm is the range usual
// FTTH video receivers take, to be set to the receiver's own data in
// settings.ini when it differs.
PonClassCheck::Band PonClassCheck::videoBand()
{
    return {1550, 1560};
}

PonClassCheck::Limits PonClassCheck::builtInVideoLimits()
{
    return {-8.0, 2.0};
}

PonClassCheck::PonClassCheck(const OpticalClass &opticalClass, const Limits &video)
    : chosen(opticalClass), video(video), active(true)
{
}

std::optional<PonClassCheck::Technology> PonClassCheck::technologyOf(const QString &kind)
{
    switch (History::pageOf(kind)) {
    case PageType::Pon:
        return Technology::Gpon;
    case PageType::XGPon:
        return Technology::XgPon;
    default:
        return std::nullopt;
    }
}

QString PonClassCheck::storedChoice(const QSettings &settings, Technology technology)
{
    const QString key = groupKey(technologyKey(technology));
    if (settings.contains(key))
        return normalisedKey(settings.value(key));
    const QString legacy = normalisedKey(settings.value(groupKey(LegacyClassKey)));
    const OpticalClass *opticalClass = builtInClass(legacy);
    return opticalClass && opticalClass->technology == technology ? legacy : QString();
}

PonClassCheck PonClassCheck::fromSettings(const QSettings &settings, Technology technology)
{
    const QString key = storedChoice(settings, technology);
    const OpticalClass *builtIn = builtInClass(key);
    // A class named under the other technology's key has limits that do not
    // apply to this page's readings.
    if (!builtIn || builtIn->technology != technology)
        return PonClassCheck();
    OpticalClass opticalClass = *builtIn;
    const QString prefix = QLatin1String(Group) + QLatin1Char('/') + key + QLatin1Char('/');
    opticalClass.down = limitsSetting(settings, prefix + QStringLiteral("downstream"), builtIn->down);
    opticalClass.up = limitsSetting(settings, prefix + QStringLiteral("upstream"), builtIn->up);
    const double margin = limitSetting(settings, prefix + QLatin1String(WarningMarginKey), builtIn->warningMargin);
    opticalClass.warningMargin = margin >= 0.0 ? margin : builtIn->warningMargin;
    const Limits videoLimits = limitsSetting(settings, groupKey(VideoKey) + QLatin1Char('/'), builtInVideoLimits());
    return PonClassCheck(opticalClass, videoLimits);
}

PonClassCheck PonClassCheck::fromConfiguration(Technology technology)
{
    const QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    return fromSettings(settings, technology);
}

QString PonClassCheck::storedChoice(Technology technology)
{
    const QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    return storedChoice(settings, technology);
}

void PonClassCheck::storeChoices(const QString &gponKey, const QString &xgPonKey)
{
    QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    settings.setValue(groupKey(GponKey), gponKey);
    settings.setValue(groupKey(XgPonKey), xgPonKey);
    // Both choices are now explicit; the single old key would only mislead.
    settings.remove(groupKey(LegacyClassKey));
    settings.sync();
}

PonClassCheck::Result PonClassCheck::check(int wavelengthNm, double dBm) const
{
    Result result;
    if (!active)
        return result;
    if (chosen.downBand.contains(wavelengthNm)) {
        result.direction = Direction::Downstream;
        result.limits = chosen.down;
    } else if (chosen.upBand.contains(wavelengthNm)) {
        result.direction = Direction::Upstream;
        result.limits = chosen.up;
    } else if (videoBand().contains(wavelengthNm)) {
        result.direction = Direction::Video;
        result.limits = video;
    } else {
        return result;
    }
    if (std::isnan(dBm))
        return result;
    // Limits are included: a reading exactly at the sensitivity is within.
    if (dBm < result.limits.minimum)
        result.verdict = Verdict::Below;
    else if (dBm > result.limits.maximum)
        result.verdict = Verdict::Above;
    else
        result.verdict = Verdict::Within;
    if (std::isfinite(dBm)) {
        result.margin = std::min(dBm - result.limits.minimum, result.limits.maximum - dBm);
        result.hasMargin = true;
        // Strictly nearer than the margin: a margin of 0 never warns.
        if (result.verdict == Verdict::Within
            && std::round(result.margin * Hundredths) < std::round(chosen.warningMargin * Hundredths))
            result.verdict = Verdict::Warning;
    }
    return result;
}

PonClassCheck::Result PonClassCheck::check(const PowerInfo &info) const
{
    bool wavelengthOk = false;
    const int nm = info.wavelength.trimmed().toInt(&wavelengthOk);
    if (!active || !wavelengthOk || info.isRelative)
        return Result();
    const QString power = info.power.trimmed();
    if (power == LowText)
        return check(nm, -INFINITY);
    if (power == HighText)
        return check(nm, INFINITY);
    bool powerOk = false;
    const double dBm = power.toDouble(&powerOk);
    if (!powerOk || !std::isfinite(dBm))
        return Result();
    return check(nm, dBm);
}

void PonClassCheck::Tally::add(const Result &result)
{
    const bool transmitter = result.direction == Direction::Upstream;
    switch (result.verdict) {
    case Verdict::NotChecked:
        ++notChecked;
        break;
    case Verdict::Within:
        ++within;
        break;
    case Verdict::Warning:
        ++warning;
        break;
    case Verdict::Below:
        ++(transmitter ? launchLow : belowSensitivity);
        break;
    case Verdict::Above:
        ++(transmitter ? launchHigh : overload);
        break;
    }
}

QString PonClassCheck::verdictWord(const Result &result)
{
    const bool transmitter = result.direction == Direction::Upstream;
    switch (result.verdict) {
    case Verdict::Within:
        return QStringLiteral("within");
    case Verdict::Warning:
        return QStringLiteral("warning");
    case Verdict::Below:
        return transmitter ? QStringLiteral("below launch range") : QStringLiteral("below sensitivity");
    case Verdict::Above:
        return transmitter ? QStringLiteral("above launch range") : QStringLiteral("overload");
    case Verdict::NotChecked:
        break;
    }
    return QString();
}

QString PonClassCheck::marginText(const Result &result)
{
    return result.verdict != Verdict::NotChecked && result.hasMargin ? number(result.margin) : QString();
}

QString PonClassCheck::verdictText(const Result &result)
{
    const bool transmitter = result.direction == Direction::Upstream;
    switch (result.verdict) {
    case Verdict::Within:
        return tr("within");
    case Verdict::Warning:
        return tr("warning");
    case Verdict::Below:
        return transmitter ? tr("below launch range") : tr("below sensitivity");
    case Verdict::Above:
        return transmitter ? tr("above launch range") : tr("overload");
    case Verdict::NotChecked:
        break;
    }
    return tr("not checked");
}

QString PonClassCheck::toolTip(const Result &result) const
{
    if (!active || result.verdict == Verdict::NotChecked)
        return QString();
    QString side;
    switch (result.direction) {
    case Direction::Downstream:
        side = tr("ONU receiver");
        break;
    case Direction::Upstream:
        side = tr("ONU transmitter");
        break;
    case Direction::Video:
        side = tr("video receiver");
        break;
    }
    const QString margin = result.hasMargin ? number(result.margin) + QStringLiteral(" dB") : QStringLiteral("---");
    return tr("%1, %2 %3 to %4 dBm: %5, margin %6")
        .arg(chosen.name, side, number(result.limits.minimum), number(result.limits.maximum), verdictText(result),
             margin);
}

QString PonClassCheck::summary(const Tally &tally) const
{
    if (!active)
        return QString();
    QString text = tr("Class %1: %2 within, %3 warning, %4 below sensitivity, %5 overload")
                       .arg(chosen.name)
                       .arg(tally.within)
                       .arg(tally.warning)
                       .arg(tally.belowSensitivity)
                       .arg(tally.overload);
    if (tally.launchLow || tally.launchHigh)
        text += tr(", %1 below launch range, %2 above launch range").arg(tally.launchLow).arg(tally.launchHigh);
    if (tally.notChecked)
        text += tr(", %1 not checked").arg(tally.notChecked);
    return text;
}

QString PonClassCheck::powerStyle(const Result &result)
{
    switch (result.verdict) {
    case Verdict::Warning:
        return WarningStyle;
    case Verdict::Below:
    case Verdict::Above:
        return OutsideStyle;
    case Verdict::NotChecked:
    case Verdict::Within:
        break;
    }
    return QString();
}

QStringList PonClassCheck::csvHeader()
{
    return {QStringLiteral("class"), QStringLiteral("class_verdict"), QStringLiteral("class_margin_db")};
}

QStringList PonClassCheck::csvFields(const History::Reading &reading) const
{
    const Result result = check(powerInfoOf(reading));
    return {active ? chosen.name : QString(), verdictWord(result), marginText(result)};
}

PowerInfo PonClassCheck::powerInfoOf(const History::Reading &reading)
{
    PowerInfo info;
    info.wavelength = reading.wavelength;
    info.power = reading.powerText;
    info.powerUnit = reading.unit;
    // A relative reading says nothing about the level at the ONU.
    info.isRelative = reading.unit == QLatin1String("dB");
    return info;
}
