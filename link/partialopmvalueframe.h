#pragma once

#include "frame.h"
#include "opmitemdata.h"

struct DevDatas;

// Answer to a partial-wave record request: the record head, one or two
// wavelength entries, and the verdicts in the fourth header byte (low four
// bits for the first wavelength, high four bits for the second).
class PartialOpmValueFrame : public Frame
{
    Q_OBJECT
public:
    // meter: the identity of the meter that answers (its range code sets
    // the precision of the power texts); none decodes without thresholds.
    explicit PartialOpmValueFrame(const DevDatas *meter, QObject *parent = nullptr);
    void parseData() override;

    OpmItemData itemData;

protected:
    void clearDecoded() override;

private:
    const DevDatas *devDatas;
};
