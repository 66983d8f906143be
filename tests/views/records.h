#pragma once
// Record builders and small helpers shared by the view tests.

#include "link/opmitemdata.h"
#include "link/ponopmitemdata.h"
#include "testsupport.h"

#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace views_test {

inline SingleWaveOpmData wave(const QString &wavelength, const QString &power, const QString &reference,
                              const QString &powerW = QStringLiteral("10.00"),
                              const QString &frequency = QStringLiteral("CW"),
                              const QString &powerUnit = QStringLiteral("dBm"),
                              const QString &powerWUnit = QStringLiteral("uW"))
{
    SingleWaveOpmData w;
    w.wavelength = wavelength;
    w.power = power;
    w.reference = reference;
    w.powerW = powerW;
    w.frequency = frequency;
    w.powerUnit = powerUnit;
    w.powerWUnit = powerWUnit;
    return w;
}

inline OpmItemData opmRecord(int number, int readings = 1)
{
    OpmItemData r;
    r.number = QString::number(number).rightJustified(4, QLatin1Char('0'));
    r.name = QStringLiteral("Fiber%1").arg(number);
    r.time = QStringLiteral("2024-05-06 10:%1").arg(number % 60, 2, 10, QLatin1Char('0'));
    static const char *const waves[] = {"1310", "1490", "1550", "1625", "850", "1300"};
    for (int i = 0; i < readings; ++i)
        r.singleWaveOpmDatas << wave(QLatin1String(waves[i % 6]), QStringLiteral("-%1.25").arg(10 + i),
                                     QStringLiteral("---"));
    return r;
}

inline OpmItemData partialRecord(int number, int waveCount, int verdict1, int verdict2 = 3)
{
    OpmItemData r = opmRecord(number, 0);
    PartialOpmData p;
    p.waveCount = waveCount;
    p.wave1 = wave(QStringLiteral("1310"), QStringLiteral("-12.50"), QStringLiteral("-3.00"),
                   QStringLiteral("56.23"), QStringLiteral("270"));
    p.passStatus1 = verdict1;
    p.wave2 = wave(QStringLiteral("1550"), QStringLiteral("-20.10"), QStringLiteral("-4.00"),
                   QStringLiteral("9.77"), QStringLiteral("1K"), QStringLiteral("dB"), QStringLiteral("nW"));
    p.passStatus2 = verdict2;
    r.partialOpmDatas << p;
    return r;
}

inline PowerInfo powerInfo(int typeCode, int verdict = 0)
{
    PowerInfo p;
    p.typeCode = typeCode;
    p.wavelength = QStringLiteral("1577");
    p.power = QStringLiteral("-18.3%1").arg(typeCode);
    p.powerUnit = QStringLiteral("dBm");
    p.powerW = QStringLiteral("14.79");
    p.powerWUnit = QStringLiteral("uW");
    p.reference = QStringLiteral("-2.00");
    p.passStatus = verdict;
    p.showPower = true;
    p.isRelative = true;
    p.inRange = true;
    return p;
}

inline PonOpmItemData ponRecord(int number, const QList<PowerInfo> &infos)
{
    PonOpmItemData r;
    r.number = QString::number(number).rightJustified(4, QLatin1Char('0'));
    r.name = QStringLiteral("Port%1").arg(number);
    r.time = QStringLiteral("2024-05-06 11:00");
    r.powerInfos = infos;
    return r;
}

inline QString labelText(QWidget *parent, const QString &name)
{
    auto *label = parent->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace views_test
