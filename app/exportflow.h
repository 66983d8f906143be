#pragma once
// An export of what a page shows or a history session holds, as the user
// starts it from the menu or the history page: the folder is chosen as for
// Save, the file written (CSV or PDF, see ExportFiles) and a message says how
// it went.

#include "report/exportfiles.h"

namespace ExportFlow {

// "Save Fail,No Data!" for nothing to export, then the folder (cancelled:
// nothing), then the file and a message saying how it went.
void run(const ExportContent &content, ExportFiles::Format format);

} // namespace ExportFlow
