#pragma once
// The local measurement history: every downloaded record and every live
// reading, kept in an SQLite file (by default
// $XDG_DATA_HOME/lumisk/history.sqlite, LUMISK_HISTORY_DB names another),
// private to its user (folder 0700, file 0600).
//
// Writes are queued and committed together every 200 ms (and on flush() or
// close()), and every commit reaches the disk before the next begins: a
// process killed, or a PC whose power goes, in the middle of a download loses
// at most the last 200 ms and the commit then under way. A thread of its own
// (HistoryWriter) does the writing, so a commit never holds up the caller's
// thread; reading, which waits for what is queued to be committed first,
// stays on the caller's. The file is shared with other programs: while one
// of them holds it, everything stays queued and is written once it lets go.
// A failing disk never stops anything: the first write error is logged once,
// the store turns read-only and drops what it holds; callers go on as if
// nothing happened. The views `measurements` (one row per stored reading,
// whichever sessions brought it) and `session_measurements` (the readings of
// each session) are the interface for other tools; see the README.

#include "domain/historyrecords.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimeZone>
#include <QTimer>
#include <QVariant>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class Frame;
class HistorySync;
class HistoryWriter;
struct OpmItemData;
struct PonOpmItemData;
struct RealTimeOpmValue;

class QSqlQuery;

class HistoryStore : public QObject
{
    Q_OBJECT
public:
    static constexpr int CommitIntervalMs = 200;
    // How long beginning or ending a session, and reading, wait for another
    // program that holds the file; then they go on and the writes stay queued.
    static constexpr std::chrono::milliseconds SessionWait{1000};
    static constexpr std::chrono::milliseconds ReadWait{1000};

    // The rows the history keeps (see domain/historyrecords.h).
    using Session = History::Session;
    using Reading = History::Reading;
    using Record = History::Record;
    using LiveReading = History::LiveReading;
    using SessionSummary = History::SessionSummary;

    // An empty path: LUMISK_HISTORY_DB, else the default location.
    explicit HistoryStore(const QString &path = QString(), QObject *parent = nullptr);
    ~HistoryStore() override;

    // Before open(): how long a wait for another program goes on before
    // waiting() says so (30 s).
    void setWaitNotice(std::chrono::milliseconds after) { waitNoticeAfter = after; }

    static QString defaultPath();
    QString path() const { return filePath; }

    // Opens (creating and migrating as needed, see history/schema.h). False
    // when there is no usable database; lastError() says why. A damaged file is renamed with a
    // ".corrupt-<UTC time>" suffix, never deleted, and a fresh one begins. A file of a newer schema opens
    // read-only: true, isReadOnly() and a lastError() message.
    bool open();
    void close();
    bool isOpen() const;
    bool isReadOnly() const { return readOnly; }
    QString lastError() const { return error; }
    // Set by open() when a damaged file was moved aside (history goes on afresh).
    QString notice() const { return openNotice; }

    // A new session; 0 when nothing can be written. While another program
    // holds the file the session is begun in the queue, and the number
    // returned (negative, not the session's row) stands for it in this
    // store's calls.
    qint64 beginSession(const Session &session);
    // Ends a session: what is queued for it is committed at once. Wait: the
    // caller waits for that (up to SessionWait while another program holds
    // the file); Background: it goes on at once (the window, whose thread
    // never waits for the disk).
    enum class Commit { Wait, Background };
    void endSession(qint64 session, Commit commit = Commit::Wait);
    void addRecord(qint64 session, const Record &record);
    void addLiveReading(qint64 session, const LiveReading &reading);
    // Commits everything queued now (waiting for the writer, and for as long
    // as another program holds the file).
    bool flush();
    // Rows queued and not committed yet.
    int pendingCount() const;

    // Copies the history to a team server (libpq keywords or a postgresql://
    // URI) in a background thread of its own; see HistorySync. Null, and no
    // sync, while the store is not open for writing.
    HistorySync *startSync(const QString &server);
    // The running sync; null without a team server.
    HistorySync *sync() const { return syncer; }

    // Reads the rows of a session list, this file's or the server's, by the
    // columns' names: id, kind, meter_model, range_code, technician,
    // started_utc, ended_utc, host and count, and meter_version and
    // meter_kind where the list has them.
    class SummaryReader
    {
    public:
        // Looks the columns up in the query just run.
        explicit SummaryReader(const QSqlQuery &query);
        SessionSummary operator()(const QSqlQuery &query) const;

    private:
        // A stored UTC time in this PC's zone (as an offset from UTC).
        QDateTime localTime(const QString &utcText) const;

        int id, kind, meterModel, meterVersion, meterKind, rangeCode, technician, started, ended, host, count;
        QTimeZone zone;
    };

    // The reads below give nothing while the store is not open. A read that
    // fails gives nothing either, and then says why in `why` (cleared
    // otherwise): a list cut short is never passed off as the whole.
    //
    // Sessions newest first; an empty meter means every meter, an invalid
    // date no bound (both days included, in local time).
    QList<SessionSummary> sessionList(const QString &meterModel = QString(), const QDate &from = QDate(),
                                      const QDate &to = QDate(), QString *why = nullptr);
    // Which sessions a list takes; an empty or invalid field takes every one.
    struct SessionFilter {
        QString meter; // the meter model, exactly
        QDateTime from, to; // the start, both ends included
        // A session with a record whose name holds this text (case aside)
        // or whose number is this one.
        QString search;
        qint64 session = 0;      // this session alone
        bool unfinished = false; // only sessions never ended (cut off, or being recorded)
        int limit = 0;           // the newest this many; 0 takes every one
    };
    // Sessions newest first, as sessionList() above.
    QList<SessionSummary> sessionList(const SessionFilter &filter, QString *why = nullptr);
    // The statement such a list runs, with its values to bind by name.
    struct SessionQuery {
        QString text;
        QMap<QString, QVariant> values;
    };
    static SessionQuery sessionQuery(const SessionFilter &filter);
    // The meter models of every session, sorted.
    QStringList meterModels(QString *why = nullptr);
    // The records of a download session in the order they arrived, each with
    // its readings (the verdicts as they were stored).
    QList<Record> sessionRecords(qint64 session, QString *why = nullptr);
    // The live readings of a live run in the order they arrived, each at the
    // local offset it arrived under.
    QList<LiveReading> sessionLiveReadings(qint64 session, QString *why = nullptr);
    // Removes a session with its live readings and every record no other
    // session holds. False when nothing could be removed; `why` then says
    // why when there is more to say than that (a session still being
    // recorded, here or by another program, is not removed).
    bool deleteSession(qint64 session, QString *why = nullptr);
    // Whether a session is being recorded now, by this program or another.
    bool isRecording(qint64 session) const;

    // The record of a frame or a page's item, and a shown time as ISO 8601
    // (see domain/historyrecords.h).
    static Record recordFrom(const QString &family, const Frame *frame) { return History::recordFrom(family, frame); }
    static Record recordOf(const QString &family, const OpmItemData &item) { return History::recordOf(family, item); }
    static Record recordOf(const QString &family, const PonOpmItemData &item)
    {
        return History::recordOf(family, item);
    }
    static QString isoTime(const QString &shownTime) { return History::isoTime(shownTime); }

signals:
    // The first failing write: history is read-only from now on.
    void failed(const QString &message);
    // Another program has held the file for a while; nothing is lost.
    void waiting(const QString &message);

private:
    // mayMoveAside: a damaged file may still be moved aside (only once).
    bool openFile(bool mayMoveAside);
    bool moveAsideAndOpen();
    // Opened read-only: a later Lumisk's file (of this version).
    bool openNewer(int version);
    void fail(const QString &what, const QString &detail);
    // News from the writer's thread, taken on this object's.
    void writerCommitted();
    void writerFailed();
    // Everything queued committed now, waiting at most `wait` for another
    // program; false only after a write error.
    bool settle(std::chrono::milliseconds wait);
    // Before a read: false while not open; what is queued committed first.
    bool readable(QString *why);
    // Whether the query failed (at exec() or on a row); the reason is then
    // logged and given in `why`.
    bool readFailed(const QSqlQuery &query, QString *why) const;

    QString filePath;
    QString connection;
    QString error;
    QString openNotice;
    bool readOnly = false;
    bool warned = false;
    std::chrono::milliseconds waitNoticeAfter{30000};
    std::unique_ptr<HistoryWriter> writer; // while open for writing
    QHash<qint64, qint64> sessions;        // begun and not ended: the number handed out → the writer's handle
    HistorySync *syncer = nullptr;
};
