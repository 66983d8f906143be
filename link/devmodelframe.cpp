#include "devmodelframe.h"

#include "devdatas.h"

DevModelFrame::DevModelFrame(DevDatas *datas, QObject *parent)
    : Frame(parent)
    , devDatas(datas)
{
}

void DevModelFrame::parseData()
{
    const int end = payload.indexOf('\0');
    devDatas->devType = QString::fromUtf8(end < 0 ? payload : payload.left(end));
}
