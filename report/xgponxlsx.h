#pragma once
// Report workbook of the XG-PON view: four columns per power item, the power
// coloured by its verdict.

#include "link/ponopmitemdata.h"

#include <QList>
#include <QObject>
#include <QString>

class XGPonXlsx : public QObject
{
    Q_OBJECT

public:
    explicit XGPonXlsx(QObject *parent = nullptr);

    bool save(const QList<PonOpmItemData> &datas, const QString &dir);
};
