#pragma once

#include "frame.h"
#include "realtimeopmvalue.h"

#include <QString>

struct DevDatas;

// Answer to the real-time request: one live reading. Unlike a stored record
// the power is never replaced by "Low"/"High": the curve needs every value.
class RealTimeOpmValueFrame : public Frame
{
    Q_OBJECT
public:
    // meter: the identity of the meter that answers (its range code sets
    // the precision of the power texts); none decodes without thresholds.
    explicit RealTimeOpmValueFrame(const DevDatas *meter, QObject *parent = nullptr);
    void parseData() override;

    RealTimeOpmValue value() const;

    QString wavelength;
    QString power;
    QString reference;
    QString powerW;
    QString frequency;
    QString powerUnit;
    QString powerWUnit;
    float powerValue = 0.0f;
    float powerWValue = 0.0f;
    float referenceValue = 0.0f;

protected:
    void clearDecoded() override;

private:
    const DevDatas *devDatas;
};
