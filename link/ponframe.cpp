#include "ponframe.h"
#include "link/logging.h"

#include "valueformat.h"

#include <QDebug>

namespace {
// A power item given in dBm (code 1) is shown as a watt value on the PON page.
constexpr quint8 WattDisplayUnitCode = 1;
} // namespace

PonFrame::PonFrame(const DevDatas *meter, QObject *parent)
    : Frame(parent)
    , devDatas(meter)
{
}

void PonFrame::parseData()
{
    qCDebug(lcLink) << "PonFrame parseData";
    itemData = PonOpmItemData();
    ValueFormat::Reader reader(payload);
    const ValueFormat::RecordHead recordHead = ValueFormat::readRecordHead(reader);
    itemData.number = recordHead.number;
    itemData.name = recordHead.name;
    itemData.time = recordHead.time;
    const int entries = reader.remaining() / ValueFormat::EntrySize;
    qCDebug(lcLink) << "powerInfoCount" << entries;
    for (int i = 0; i < entries; ++i) {
        PowerInfo info;
        info.typeCode = reader.s8();
        info.wavelength = ValueFormat::numberText(reader.u16());
        const float power = reader.f32();
        bool outOfRange = false;
        info.power = ValueFormat::powerText(power, devDatas, true, &outOfRange);
        info.inRange = !outOfRange;
        if (outOfRange && power <= ValueFormat::LowLimit)
            qCDebug(lcLink) << "66666666666666666";
        const quint8 unitCode = reader.u8();
        info.showPower = unitCode != WattDisplayUnitCode;
        info.isRelative = unitCode == ValueFormat::RelativeUnitCode;
        if (info.inRange)
            info.powerUnit = ValueFormat::unitText(unitCode);
        const float watt = reader.f32();
        const quint8 wattUnitCode = reader.u8();
        if (info.inRange) {
            info.powerWUnit = ValueFormat::unitText(wattUnitCode);
            info.powerW = ValueFormat::wattText(watt);
        } else {
            info.powerW = ValueFormat::absentText();
        }
        const float reference = reader.f32();
        info.reference = info.inRange && info.isRelative && info.powerUnit != QLatin1String("dBm")
            ? ValueFormat::fixed(reference, 2)
            : ValueFormat::absentText();
        info.passStatus = reader.s8();
        itemData.powerInfos.append(info);
    }
}

void PonFrame::clearDecoded()
{
    itemData = PonOpmItemData();
}
