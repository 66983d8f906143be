#include "domain/baseformlogic.h"

#include "domain/historyrecords.h"
#include "link/frame.h"

BaseFormLogic::~BaseFormLogic()
{
    delete ownedFrame;
    ownedFrame = nullptr;
}

void BaseFormLogic::fillDatas()
{
    renewFrame();
}

void BaseFormLogic::setIdentity(const DevDatas *meter)
{
    meterIdentity = meter;
    renewFrame();
}

void BaseFormLogic::renewFrame()
{
    if (ownedFrame) {
        delete ownedFrame;
        ownedFrame = nullptr;
    }
    createFrame();
}

QList<History::Record> BaseFormLogic::storedRecords(const QString &) const
{
    return {};
}
