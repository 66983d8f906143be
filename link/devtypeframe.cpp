#include "devtypeframe.h"
#include "link/logging.h"

#include "devdatas.h"

#include <QDebug>

namespace {
constexpr quint8 NoRecordPages = 0xFF;

// A byte missing from a short payload counts as 0.
quint8 byteAt(const QByteArray &data, int index)
{
    return index < data.size() ? static_cast<quint8>(data.at(index)) : 0;
}
} // namespace

DevTypeFrame::DevTypeFrame(DevDatas *datas, QObject *parent)
    : Frame(parent)
    , devDatas(datas)
{
}

void DevTypeFrame::parseData()
{
    qCDebug(lcLink).noquote() << "dev data " << payload.toHex(' ');
    devDatas->devKind = static_cast<qint8>(byteAt(payload, 0));
    devDatas->rangeCode = static_cast<qint8>(byteAt(payload, 1));
    devDatas->hasRecordPages = byteAt(payload, 3) != NoRecordPages;
}
