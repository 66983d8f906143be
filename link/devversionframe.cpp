#include "devversionframe.h"

#include "devdatas.h"

DevVersionFrame::DevVersionFrame(DevDatas *datas, QObject *parent)
    : Frame(parent)
    , devDatas(datas)
{
}

void DevVersionFrame::parseData()
{
    const int end = payload.indexOf('\0');
    devDatas->version = QString::fromUtf8(end < 0 ? payload : payload.left(end));
}
