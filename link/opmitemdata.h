#pragma once
// Stored optical-power-meter records, decoded into ready display texts.

#include <QList>
#include <QString>

// One reading at one wavelength.
struct SingleWaveOpmData
{
    QString wavelength;
    QString power;
    QString reference;
    QString powerW;
    QString frequency;
    QString powerUnit;
    QString powerWUnit;
    bool isRelative = false;
    bool outOfRange = false;
};

// One partial-wave (pass/fail) reading of one or two wavelengths.
// Verdicts: 0 pass, 1 warning, 2 fail, 3 none.
struct PartialOpmData
{
    int waveCount = 0;
    SingleWaveOpmData wave1;
    int passStatus1 = 3;
    SingleWaveOpmData wave2;
    int passStatus2 = 3;
};

// One stored record: single-wave and multi-wave records fill
// singleWaveOpmDatas, a partial-wave record fills partialOpmDatas.
struct OpmItemData
{
    QString number;
    QString name;
    QString time;
    QList<SingleWaveOpmData> singleWaveOpmDatas;
    QList<PartialOpmData> partialOpmDatas;
};
