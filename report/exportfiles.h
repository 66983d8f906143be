#pragma once
// Exports of what a page shows or a history session holds, beside the .xlsx
// reports: CSV (one row per reading) and a PDF report. Either goes into a
// folder chosen as for Save, named like the reports (local date and time of
// the export, a suffix per kind) and is written through a temporary file
// that is renamed at the end, so a failed write leaves nothing behind.

#include "domain/livereference.h"
#include "domain/ponclasscheck.h"
#include "domain/historyrecords.h"
#include "link/realtimeopmvalue.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct PowerInfo;

// What one export holds: the records of a record page or download session,
// or the readings of a live run.
struct ExportContent {
    QString kind; // single, multi, partial, pon, xgpon or live (as the history names them)
    // The meter, the technician and when the data was downloaded or sampled.
    History::Session meter;
    QDateTime taken;
    QList<History::Record> records;
    QList<QDateTime> arrivals;
    QList<RealTimeOpmValue> readings;
    // The chart's own reference: the live CSV adds the loss once it is set.
    LiveReference reference;
    // The class PON and XG-PON readings are checked against (none: not checked).
    PonClassCheck classCheck;

    bool isLive() const { return History::pageOf(kind) == PageType::Chart; }
    bool isPon() const
    {
        const PageType type = History::pageOf(kind);
        return type == PageType::Pon || type == PageType::XGPon;
    }
    bool isEmpty() const { return isLive() ? readings.isEmpty() || arrivals.isEmpty() : records.isEmpty(); }
};

namespace ExportFiles {

enum class Format { Csv, Pdf };

// "-Single", "-Multi", "-Partial", "-PON", "-XG-PON", "-RT".
QString suffix(const QString &kind);
// dir/yyyy-MM-dd-HH-mm-ss<suffix>.csv or .pdf,, the moment in local time.
QString fileName(const QString &dir, const QDateTime &when, const QString &kind, Format format);

// A stored reading as the PON pages check it against the class.
PowerInfo powerInfoOf(const History::Reading &reading);

// The columns a CSV adds to the standard ones for this content: the class
// check of PON and XG-PON readings, the loss against the chart's reference.
QStringList extraHeader(const ExportContent &content);
bool writeCsv(const QString &path, const ExportContent &content);

} // namespace ExportFiles
