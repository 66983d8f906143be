#pragma once
// Comma-separated exports: UTF-8 with a byte-order mark (so that spreadsheet
// programs take the names as UTF-8), CRLF line ends, fields quoted where they
// hold a comma, a quote or a line break. One row per reading: stored records
// (every reading of every record) and live readings. Numbers are plain
// ("-12.34", no unit glued on), times ISO 8601 with their UTC offset and
// verdicts words (pass, warning, fail). A text a spreadsheet would take for a
// formula (a record name from the meter such as "=HYPERLINK(...)") is written
// with a leading apostrophe, so that it stays text.

#include "domain/historyrecords.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct RealTimeOpmValue;

namespace ReadingText {
// The number at the start of a display text ("1310", "-12.34", "270Hz");
// an empty string when there is none ("Low", "High", "---").
QString plainNumber(const QString &text);
// A watt text ("58.9uW", "1.2mW") as a plain number of watts with an
// exponent ("5.89e-05", "1.2e-03"); empty when the text holds no number.
QString watts(const QString &text);
// A record's shown time ("yy/MM/dd HH:mm", the meter's local time) as ISO
// 8601 with the PC's UTC offset at that moment; empty when it is no date.
QString recordTime(const QString &shownTime);
// A moment the PC measured as ISO 8601 with milliseconds and its UTC offset.
QString isoWithOffset(const QDateTime &when);
} // namespace ReadingText

class CsvWriter
{
public:
    static QByteArray byteOrderMark();
    // One field, quoted when needed.
    static QString field(const QString &text);
    // One line, CRLF at its end.
    static QString line(const QStringList &fields);

    // What a column holds, which decides how a spreadsheet is kept from
    // running its fields: a Text field that starts with = + - @, a tab or a
    // carriage return gets a leading ' ("-12.5" as a name included); in a
    // Value column (numbers, and the power as the meter showed it) a plain
    // number stays as it is and anything else is treated as text.
    enum class Column { Text, Value };
    static QString cell(const QString &text, Column column);

    // Stored records: the header and the rows of one record, every field
    // ready for line() (texts that look like formulas already defused).
    static QStringList recordHeader();
    static QList<QStringList> recordRows(const History::Record &record);
    // Live readings, ready for line() as well.
    static QStringList liveHeader();
    static QStringList liveRow(const QDateTime &arrival, const RealTimeOpmValue &reading);

    // Columns after the standard ones: their names, and their fields for one
    // reading (a record and the reading's index in it; -1 for a record
    // without readings), written as Value columns. The window adds what only
    // it knows this way (the PON class check, the loss against its own
    // reference).
    struct RecordColumns {
        QStringList header;
        std::function<QStringList(const History::Record &, int reading)> fields;
    };
    struct LiveColumns {
        QStringList header;
        std::function<QStringList(int index)> fields;
    };

    // Whole files, written through a temporary file: a failed write leaves
    // nothing behind. False when the file cannot be written.
    static bool saveRecords(const QString &path, const QList<History::Record> &records,
                            const RecordColumns &extra = {});
    static bool saveLive(const QString &path, const QList<QDateTime> &arrivals,
                         const QList<RealTimeOpmValue> &readings, const LiveColumns &extra = {});
};
