#pragma once

#include "frame.h"

struct DevDatas;

// Answer to the device-version request: a text up to its first zero byte.
class DevVersionFrame : public Frame
{
    Q_OBJECT
public:
    explicit DevVersionFrame(DevDatas *datas, QObject *parent = nullptr);
    void parseData() override;

private:
    DevDatas *devDatas;
};
