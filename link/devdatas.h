#pragma once
// Identity of the connected meter, filled by the identity frames while the
// link opens and read by the main window, which hands it to the record
// pages and the chart for the frames that format powers.

#include <QString>

// The kinds of meter, by what they hold. The device-type answer numbers them
// (devKind keeps that number, as the meter sent it); the program reasons with
// these names. Numbers outside the list are kinds this program does not know.
enum class MeterKind {
    Unknown = 0,
    Pon = 1,
    PonRanged = 2,
    XgPon = 3,
    PonFttx = 4,
    MultiWave = 5,
    SingleWave6 = 6,
    SingleWave7 = 7,
    SingleWave8 = 8,
    PartialWave = 9,
    SingleWave10 = 10,
};

struct DevDatas
{
    int devKind = 0;
    int rangeCode = 0;
    bool hasRecordPages = true;
    QString devType;
    QString version;

    MeterKind kind() const { return MeterKind(devKind); }

    // The process-wide record, created on first use and never destroyed.
    static DevDatas *instance();
};
