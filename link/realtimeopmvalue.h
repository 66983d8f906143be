#pragma once
// One live reading as the chart keeps it: the display texts and the values
// as received. RealTimeOpmValueFrame decodes it; the chart stores copies.

#include <QString>

struct RealTimeOpmValue
{
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
};
