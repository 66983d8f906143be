#pragma once
// An export of what a page shows or a history session holds, as the user
// starts it from the menu or the history page: the folder is chosen as for
// Save, the file written (CSV or PDF, see ExportFiles) and a message says how
// it went.

#include "report/exportfiles.h"

#include <QDateTime>

class BaseFormLogic;
class ChartForm;
namespace History {
struct SessionSummary;
}

namespace ExportFlow {

// "Save Fail,No Data!" for nothing to export, then the folder (cancelled:
// nothing), then the file and a message saying how it went.
void run(const ExportContent &content, ExportFiles::Format format);

// What the window shows, as an export holds it.
struct Shown {
    QString kind;                          // the history's name of the page's family
    const History::SessionSummary *opened; // a session opened from the history, or null
    QDateTime downloadStarted;             // of what came from the meter
    const BaseFormLogic *records;          // the page's records, or null
    const PonClassCheck *classCheck;       // the PON pages' check, or null
    const ChartForm *chart;                // the live curve when it is shown, or null
};
ExportContent contentOf(const Shown &shown);

} // namespace ExportFlow
