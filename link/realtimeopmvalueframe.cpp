#include "realtimeopmvalueframe.h"
#include "link/logging.h"

#include "valueformat.h"

#include <QDebug>

namespace {
// The meter stamps a live reading with its own clock; the chart uses the PC's
// arrival time instead, so the stamp is skipped.
constexpr int TimeStampSize = 7;
constexpr int WattDecimals = 3;
constexpr int ReferenceDecimals = 2;
} // namespace

RealTimeOpmValueFrame::RealTimeOpmValueFrame(const DevDatas *meter, QObject *parent)
    : Frame(parent)
    , devDatas(meter)
{
}

void RealTimeOpmValueFrame::parseData()
{
    qCDebug(lcLink) << "RealTimeOpmValueFrame parseData";
    ValueFormat::Reader reader(payload);
    reader.skip(TimeStampSize);
    wavelength = ValueFormat::numberText(reader.u16());
    powerValue = reader.f32();
    power = ValueFormat::powerText(powerValue, devDatas, false);
    powerUnit = ValueFormat::unitText(reader.u8());
    powerWValue = reader.f32();
    powerW = ValueFormat::fixed(powerWValue, WattDecimals);
    powerWUnit = ValueFormat::unitText(reader.u8());
    referenceValue = reader.f32();
    reference = ValueFormat::fixed(referenceValue, ReferenceDecimals);
    frequency = ValueFormat::numberText(reader.u16());
}

void RealTimeOpmValueFrame::clearDecoded()
{
    wavelength.clear();
    power.clear();
    reference.clear();
    powerW.clear();
    frequency.clear();
    powerUnit.clear();
    powerWUnit.clear();
    powerValue = 0.0f;
    powerWValue = 0.0f;
    referenceValue = 0.0f;
}

RealTimeOpmValue RealTimeOpmValueFrame::value() const
{
    RealTimeOpmValue v;
    v.wavelength = wavelength;
    v.power = power;
    v.reference = reference;
    v.powerW = powerW;
    v.frequency = frequency;
    v.powerUnit = powerUnit;
    v.powerWUnit = powerWUnit;
    v.powerValue = powerValue;
    v.powerWValue = powerWValue;
    v.referenceValue = referenceValue;
    return v;
}
