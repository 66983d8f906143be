#pragma once

#include "frame.h"

struct DevDatas;

// Answer to the device-model request: a text up to its first zero byte.
class DevModelFrame : public Frame
{
    Q_OBJECT
public:
    explicit DevModelFrame(DevDatas *datas, QObject *parent = nullptr);
    void parseData() override;

private:
    DevDatas *devDatas;
};
