#pragma once
// Report workbook of the partial-wave (pass/warning/fail) OPM view: one row
// per wavelength, the wavelength cell coloured by its verdict, and the
// number, name and time of a two-wave record merged over its two rows.

#include "link/opmitemdata.h"

#include <QList>
#include <QObject>
#include <QString>

class PartialOpmXlsx : public QObject
{
    Q_OBJECT

public:
    explicit PartialOpmXlsx(QObject *parent = nullptr);

    bool save(const QList<OpmItemData> &datas, const QString &dir);
};
