#include "app/exportflow.h"

#include "app/saveflow.h"
#include "dialogs/messagedialog.h"
#include "views/pdfreport.h"

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

} // namespace ExportFlow
