#pragma once
// The multi-wave Low/High rule, one for the cards and the report: a reading's
// level is its power plus its reference; at or below the meter's floor it
// reads "Low", at or above its ceiling "High".

#include "link/opmitemdata.h"

#include <QString>

enum class MultiWaveLevel { InRange, Low, High };

// Power and reference texts are each read as the meter's single-precision
// value (a text that is not a number counts as 0) and summed in double
// precision.
MultiWaveLevel multiWaveLevel(const SingleWaveOpmData &reading);

// The power as the cards and the report show it: the meter's own "Low" or
// "High" as it stands; else "Low"/"High" by level; else the power text with
// "dB" when a reference is given, "dBm" when it is "---".
QString multiWavePowerText(const SingleWaveOpmData &reading);
