#pragma once
// Where results go: the format an --out file's extension names, writing a
// workbook under the exact name asked for, and records and live readings
// as JSON.

#include "history/historystore.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <functional>

class HistoryRecorder;
struct RealTimeOpmValue;

namespace Output {

enum class Format { None, Xlsx, Csv, Json, JsonLines, Unknown };
// "-" is JSON lines on stdout; an empty name no file at all.
Format formatOf(const QString &out);

// Runs a report writer (which names its file itself) in a scratch folder
// beside target and moves its file to target. False when either fails;
// nothing is left behind then.
bool saveWorkbookAs(const QString &target, const std::function<bool(const QString &dir)> &write);
// A JSON document through a temporary file.
bool saveJson(const QString &path, const QByteArray &json);
// The file a download or a live run writes for --out FILE: FILE once it is
// complete, FILE.partial otherwise, so that a run cut short never replaces
// a complete FILE of an earlier run.
QString destination(const QString &out, bool complete);

QJsonObject recordJson(const HistoryStore::Record &record);
QJsonObject liveJson(const QDateTime &arrival, const RealTimeOpmValue &reading);
// A live run's .json file: its readings, and whether the run went to its end.
QByteArray liveDocument(const QList<QDateTime> &arrivals, const QList<RealTimeOpmValue> &readings, bool complete);

// The end of a download or a live run once its file was written (or not):
// says what could not be kept (`historyFailure` takes the history's path and
// reason) and gives the exit code, the run's own when it did not finish.
int conclude(int outcome, bool fileFailed, const QString &outPath, HistoryRecorder *history,
             const QString &historyFailure);

} // namespace Output
