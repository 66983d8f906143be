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
    // meter: the identity of the meter that answers (its range code sets
    // the precision of the power texts); none decodes without thresholds.
    explicit OpmValueFrame(const DevDatas *meter, QObject *parent = nullptr);
    void parseData() override;

    OpmItemData itemData;

protected:
    void clearDecoded() override;

private:
    const DevDatas *devDatas;
};
