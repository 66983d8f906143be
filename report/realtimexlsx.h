#pragma once
// Report workbook of the real-time curve: one row per sample with its
// arrival date and time, wavelength, power level and frequency.

#include "link/realtimeopmvalue.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class RealTimeXlsx : public QObject
{
    Q_OBJECT

public:
    explicit RealTimeXlsx(QObject *parent = nullptr);

    // times and readings belong together entry by entry; a surplus in
    // either list is ignored.
    bool save(const QList<QDateTime> &times, const QList<RealTimeOpmValue> &readings, const QString &dir);
};
