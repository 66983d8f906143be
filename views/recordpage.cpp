#include "views/recordpage.h"

#include "dialogs/messagedialog.h"

#include <QCoreApplication>

void exportRecords(int count, const QString &dir, const std::function<bool()> &write)
{
    if (count < 1) {
        showMessage(QCoreApplication::translate("RecordPage", "Save Fail,No Data!"));
        return;
    }
    if (dir.isEmpty())
        return;
    if (write())
        showMessage(QCoreApplication::translate("RecordPage", "Report exported"));
    else
        showMessage(QCoreApplication::translate("RecordPage", "Failed to export report"));
}
