#pragma once
// Stored PON and XG-PON records, decoded into ready display texts.

#include <QList>
#include <QString>

// One PON power item. typeCode: 0 ONT (1310 nm), 1 OLT (1490 nm), 2 VDO (1550 nm).
struct PowerInfo
{
    int typeCode = 0;
    QString wavelength;
    QString power;
    QString powerUnit;
    QString powerW;
    QString powerWUnit;
    QString reference;
    int passStatus = 0;
    bool showPower = true;
    bool isRelative = false;
    bool inRange = true;
};

struct PonOpmItemData
{
    QString number;
    QString name;
    QString time;
    QList<PowerInfo> powerInfos;
};
