#include "valuecountframe.h"
#include "link/logging.h"

#include <QDebug>

ValueCountFrame::ValueCountFrame(QObject *parent)
    : Frame(parent)
{
}

void ValueCountFrame::setCountReady(bool ready)
{
    reset();
    countReady = ready;
}

void ValueCountFrame::clearDecoded()
{
    count = 0;
    countReady = false;
}

void ValueCountFrame::parseData()
{
    qCDebug(lcLink) << "void __thiscall ValueCountFrame::parseData(void)";
    // The count travels as one big-endian number; an empty payload or one that
    // does not fit 16 bits counts as no records.
    bool ok = false;
    const uint value = payload.toHex().toUInt(&ok, 16);
    count = (ok && value <= 0xFFFF) ? static_cast<int>(value) : 0;
    countReady = true;
}
