#pragma once
// The rows of the measurement history, as the store keeps them and the
// exports, the history page and lumisk-cli read them: a session (one
// download or live run), a stored record with its readings, a live reading,
// and a session as the history lists it. Plain values; the store, the team
// server and the report writers all speak them.

#include "domain/pages.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <optional>

class Frame;
struct OpmItemData;
struct PonOpmItemData;
struct RealTimeOpmValue;

namespace History {

// The history's names of the record families ("single", "multi", "partial",
// "pon", "xgpon") and of a live run ("live"): the database, the exports and
// lumisk-cli's output carry them, so they never change. Empty for a page
// that keeps nothing.
QString familyOf(PageType type);
// The page a family's name belongs to (the chart for "live"); PageType::None
// for any other text.
PageType pageOf(const QString &family);
// A reading's verdict as the history and the files write it: "pass",
// "warning" or "fail" for 0, 1 and 2, empty for none.
QString verdictWord(int verdict);
// The verdict of such a word; -1 (none) for any other text.
int verdictOf(const QString &word);

struct Session {
    QString kind; // single, multi, partial, pon, xgpon or live
    QString meterModel;
    QString meterVersion;
    int meterKind = 0;
    int rangeCode = 0;
    QString technician;
    QString host;
};
struct Reading {
    QString wavelength;
    QString powerText; // as shown: a number, "Low", "High" or "---"
    QString unit;
    QString reference;
    QString watt;
    QString frequency;
    int verdict = -1; // 0 pass, 1 warning, 2 fail, anything else none
};
struct Record {
    QString family;
    QString number;
    QString name;
    QString time; // as shown, "yy/MM/dd HH:mm"
    QByteArray payload;
    QList<Reading> readings;
};
struct LiveReading {
    QDateTime arrival; // local time; stored as UTC plus its offset
    QString wavelength;
    QString powerText;
    QString unit;
    QString frequency;
    QString reference = {}; // as shown
    QString watt = {};      // as shown, with its unit ("0.059uw")
    // The power as the meter sent it, which the curve and its statistics
    // use; without it, the number the text shows.
    std::optional<double> power = {};

    // A reading as the chart keeps it, arrived at `arrival`.
    static LiveReading of(const QDateTime &arrival, const RealTimeOpmValue &value);
    // Back as the chart keeps it (the reference's and the watts' values
    // read from their texts).
    RealTimeOpmValue value() const;
};

// One session as the history page lists it.
struct SessionSummary {
    qint64 id = 0;
    QString kind;
    QString meterModel;
    QString meterVersion;
    int meterKind = 0;
    int rangeCode = 0;
    QString technician;
    QString host;
    QDateTime started; // local time
    QDateTime ended;   // invalid while the session is open (or was cut off)
    int count = 0;     // records, or readings of a live run
};
// The record a record page's frame holds after a data answer (family as
// in Session::kind); an empty family when the frame holds none.
Record recordFrom(const QString &family, const Frame *frame);
// The same from a record as a page keeps it (no payload): a partial
// record's readings come from its partial waves, any other's from its
// single waves.
Record recordOf(const QString &family, const OpmItemData &item);
Record recordOf(const QString &family, const PonOpmItemData &item);
// "yy/MM/dd HH:mm" as ISO 8601 (meter local time, no zone); empty when
// the text is no date.
QString isoTime(const QString &shownTime);

} // namespace History

Q_DECLARE_METATYPE(History::SessionSummary)
