#pragma once
// Report workbook of the PON OPM view: the ONT (1310 nm), OLT (1490 nm) and
// VDO (1550 nm) readings of each record, each coloured by its verdict.

#include "link/ponopmitemdata.h"

#include <QList>
#include <QObject>
#include <QString>

class PonXlsx : public QObject
{
    Q_OBJECT

public:
    explicit PonXlsx(QObject *parent = nullptr);

    bool save(const QList<PonOpmItemData> &datas, const QString &dir);
};
