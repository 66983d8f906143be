#include "partialopmvalueframe.h"
#include "link/logging.h"

#include "valueformat.h"

#include <QDebug>

namespace {
constexpr int VerdictByte = 3; // of the answer head
constexpr int VerdictNone = 3;

// Nibble 1 pass, 2 warning, 3 fail, anything else none -> 0, 1, 2, 3.
int verdict(int nibble)
{
    return (nibble >= 1 && nibble <= 3) ? nibble - 1 : VerdictNone;
}
} // namespace

PartialOpmValueFrame::PartialOpmValueFrame(const DevDatas *meter, QObject *parent)
    : Frame(parent)
    , devDatas(meter)
{
}

void PartialOpmValueFrame::parseData()
{
    qCDebug(lcLink) << "PartialOpmValueFrame parseData";
    itemData = OpmItemData();
    ValueFormat::Reader reader(payload);
    const ValueFormat::RecordHead recordHead = ValueFormat::readRecordHead(reader);
    itemData.number = recordHead.number;
    itemData.name = recordHead.name;
    itemData.time = recordHead.time;

    PartialOpmData partial;
    partial.waveCount = reader.remaining() / ValueFormat::EntrySize;
    qCDebug(lcLink) << partial.waveCount << " swod.wavelenthcount";

    const quint8 verdicts = head[VerdictByte];
    partial.passStatus1 = verdict(verdicts & 0x0F);
    qCDebug(lcLink, "passstatus1  %d", partial.passStatus1 + 1);
    // The first wave is decoded even from an answer too short for a whole
    // entry; the bytes it lacks count as 0.
    bool isLow = false;
    partial.wave1 = ValueFormat::readOpmEntry(reader, devDatas, &isLow);
    if (isLow)
        qCDebug(lcLink) << "8888888888888888";
    if (partial.waveCount == 2) {
        qCDebug(lcLink) << "passstatus2";
        partial.passStatus2 = verdict(verdicts >> 4);
        qCDebug(lcLink, "passstatus2  %d", partial.passStatus2 + 1);
        partial.wave2 = ValueFormat::readOpmEntry(reader, devDatas, &isLow);
        if (isLow)
            qCDebug(lcLink) << "99999999999";
    }
    itemData.partialOpmDatas.append(partial);
}

void PartialOpmValueFrame::clearDecoded()
{
    itemData = OpmItemData();
}
