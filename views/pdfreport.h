#pragma once
// The PDF report of a page or history session: A4, a header (meter, its
// version and kind, technician, when the data was downloaded or sampled), a
// summary (records, verdict counts, minimum/maximum/mean power per
// wavelength; the class check of PON and XG-PON readings), for a live run the
// power curve with its statistics, then one table row per reading over as
// many pages as it takes, the table header repeated and "page n of N" below.
// Drawn with QPdfWriter and QPainter in DejaVu Sans with Noto Sans CJK for
// Chinese, whose glyphs the PDF embeds (the used ones), so Chinese names and
// texts print as they show.

#include "report/exportfiles.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class PdfReport
{
    Q_DECLARE_TR_FUNCTIONS(PdfReport)

public:
    // Written through a temporary file renamed at the end; false (and no
    // file) when it cannot be written.
    static bool write(const QString &path, const ExportContent &content);
    // The faces the report is drawn in, first choice first (those installed).
    static QStringList fontFamilies();
};
