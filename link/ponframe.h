#pragma once

#include "frame.h"
#include "ponopmitemdata.h"

struct DevDatas;

// Answer to a PON or XG-PON record request: the record head and one power
// item per 18-byte entry.
class PonFrame : public Frame
{
    Q_OBJECT
public:
    // meter: the identity of the meter that answers (its range code sets
    // the precision of the power texts); none decodes without thresholds.
    explicit PonFrame(const DevDatas *meter, QObject *parent = nullptr);
    void parseData() override;

    PonOpmItemData itemData;

protected:
    void clearDecoded() override;

private:
    const DevDatas *devDatas;
};
