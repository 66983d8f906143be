#pragma once
// Identity of the connected meter, filled by the identity frames while the
// link opens and read by the main window and by the power formatting.

#include <QString>

struct DevDatas
{
    int devKind = 0;
    int rangeCode = 0;
    bool hasRecordPages = true;
    QString devType;
    QString version;

    // The process-wide record, created on first use and never destroyed.
    static DevDatas *instance();
};
