#pragma once

#include "frame.h"

struct DevDatas;

// Answer to the device-type request: kind, range code and capability bytes.
class DevTypeFrame : public Frame
{
    Q_OBJECT
public:
    explicit DevTypeFrame(DevDatas *datas, QObject *parent = nullptr);
    void parseData() override;

private:
    DevDatas *devDatas;
};
