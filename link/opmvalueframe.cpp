#include "opmvalueframe.h"
#include "link/logging.h"

#include "valueformat.h"

#include <QDebug>

namespace {
// Shorter answers carry no record (the meter's way of saying "empty").
constexpr int MinimumRecordPayload = 7;
} // namespace

OpmValueFrame::OpmValueFrame(const DevDatas *meter, QObject *parent)
    : Frame(parent)
    , devDatas(meter)
{
}

void OpmValueFrame::parseData()
{
    qCDebug(lcLink) << "OpmValueFrame parseData";
    // The frame holds one record: a second decode replaces the first.
    itemData = OpmItemData();
    if (payload.size() < MinimumRecordPayload)
        return;
    ValueFormat::Reader reader(payload);
    const ValueFormat::RecordHead recordHead = ValueFormat::readRecordHead(reader);
    itemData.number = recordHead.number;
    itemData.name = recordHead.name;
    itemData.time = recordHead.time;
    const int entries = reader.remaining() / ValueFormat::EntrySize;
    for (int i = 0; i < entries; ++i) {
        bool isLow = false;
        itemData.singleWaveOpmDatas.append(ValueFormat::readOpmEntry(reader, devDatas, &isLow));
        if (isLow)
            qCDebug(lcLink) << "7777777777777777777";
    }
}

void OpmValueFrame::clearDecoded()
{
    itemData = OpmItemData();
}
