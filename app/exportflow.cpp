#include "app/exportflow.h"

#include "app/historypanel.h"
#include "app/saveflow.h"
#include "domain/baseformlogic.h"
#include "session/historyrecorder.h"
#include "dialogs/messagedialog.h"
#include "views/pdfreport.h"
#include "widgets/chartform.h"

#include <QCoreApplication>
#include <QDateTime>

namespace ExportFlow {

void run(const ExportContent &content, ExportFiles::Format format)
{
    if (content.isEmpty()) {
        showMessage(QCoreApplication::translate("RecordPage", "Save Fail,No Data!"));
        return;
    }
    const QString dir = SaveFlow::chooseDirectory();
    if (dir.isEmpty())
        return;
    const QString path = ExportFiles::fileName(dir, QDateTime::currentDateTime(), content.kind, format);
    const bool written = format == ExportFiles::Format::Pdf ? PdfReport::write(path, content)
                                                            : ExportFiles::writeCsv(path, content);
    showMessage(written ? QCoreApplication::translate("RecordPage", "Report exported")
                        : QCoreApplication::translate("RecordPage", "Failed to export report"));
}

ExportContent contentOf(const Shown &shown)
{
    ExportContent content;
    content.kind = shown.kind;
    if (shown.opened) {
        // A session opened from the history: its own meter, technician and time.
        content.meter = HistoryPanel::identityOf(*shown.opened);
        content.taken = shown.opened->started;
    } else {
        content.meter = HistoryRecorder::identity(content.kind);
        content.taken = shown.downloadStarted;
    }
    if (shown.records)
        content.records = shown.records->storedRecords(content.kind);
    if (shown.classCheck)
        content.classCheck = *shown.classCheck;
    if (!shown.chart)
        return content;
    content.arrivals = shown.chart->storedTimes();
    content.readings = shown.chart->storedReadings();
    content.reference = shown.chart->reference();
    if (!content.arrivals.isEmpty())
        content.taken = content.arrivals.first();
    return content;
}

} // namespace ExportFlow
