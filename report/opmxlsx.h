#pragma once
// Report workbooks of the single-wave and the multi-wave OPM views.

#include "link/opmitemdata.h"

#include <QList>
#include <QObject>
#include <QString>

class OpmXlsx : public QObject
{
    Q_OBJECT

public:
    explicit OpmXlsx(QObject *parent = nullptr);

    // One row per record from its first reading; "<date-time>-Single.xlsx".
    bool saveSingleWave(const QList<OpmItemData> &datas, const QString &dir);
    // One row per record, four columns per reading; "<date-time>-muti.xlsx".
    bool saveMultiWave(const QList<OpmItemData> &datas, const QString &dir);
};
