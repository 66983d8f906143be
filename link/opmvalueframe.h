#pragma once

#include "frame.h"
#include "opmitemdata.h"

struct DevDatas;

// Answer to a single-wave or multi-wave record request: the record head and
// one reading per wavelength entry.
class OpmValueFrame : public Frame
{
    Q_OBJECT
public:
    explicit OpmValueFrame(QObject *parent = nullptr);
    void parseData() override;

    OpmItemData itemData;

protected:
    void clearDecoded() override;

private:
    DevDatas *devDatas;
};
