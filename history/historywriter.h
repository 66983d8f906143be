#pragma once
// The thread that writes the history file. The store hands it the records
// and live readings as they arrive; it inserts them on a connection of its
// own and commits them together one commit interval after the first of them,
// so that neither the inserts nor a commit's wait for the disk hold up the
// thread that downloads. Sessions are begun and ended through the same queue,
// and deleted here too: one connection alone writes the file, and every
// write lands in the order it was asked for.
//
// The file is shared (another Lumisk, lumisk-cli, a backup, the sqlite3
// shell): while another program holds its write lock, the writer keeps
// everything queued and tries again, waiting a little longer each time, for
// as long as it takes; past WaitNoticeMs it says so once. Only a real write
// error (a full disk, a read-only or damaged file) stops it: after the first
// one it takes nothing more.
//
// While a session is open its writer holds a lock on the session's byte in
// the file beside the history (<history>-sessions), so that another program
// can tell a session still being recorded from one whose writer is gone.

#include "history/historystore.h"

#include <QHash>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QThread;

class HistoryWriter
{
public:
    using Ms = std::chrono::milliseconds;
    // How long SQLite itself waits for another program's lock before the
    // writer rolls back, waits on its own (from FirstRetry, doubling up to
    // LongestRetry) and tries again with whatever was queued meanwhile.
    static constexpr Ms BusyTimeout{250};
    static constexpr Ms FirstRetry{50};
    static constexpr Ms LongestRetry{1000};
    static constexpr Ms WaitNotice{30000};
    // How long a delete waits for another program's lock before it gives up.
    static constexpr Ms DeleteWait{3000};
    // Records swept per transaction after a delete: each transaction looks
    // through every session's records once (no index leads with the record),
    // so a few big steps cost less than many small ones, and each still
    // takes a few tens of milliseconds.
    static constexpr int SweepChunk = 5000;
    // Records whose names are indexed per transaction in the writer's idle
    // time (a few tens of milliseconds each), and how long it waits before
    // it tries again while another program holds the file.
    static constexpr int NameChunk = 2000;
    static constexpr Ms NameRetry{1000};
    static constexpr Ms Forever = Ms::max();
    // How much nicer the writer's thread is than the rest of the program.
    static constexpr int WriterNiceness = 10;

    // A write that failed: what could not be done, and the database's words.
    struct Failure {
        QString what;
        QString detail;
    };
    struct Item {
        enum class Kind { Record, Live, Begin, End };
        Kind kind = Kind::Record;
        qint64 session = 0; // the session's handle
        HistoryStore::Record record;
        HistoryStore::LiveReading liveReading;
        HistoryStore::Session identity; // Begin
        QDateTime when;                 // Begin and End
    };
    enum class Flushed { Done, Waiting, Failed };
    enum class Removal { Removed, Nothing, InUse, Busy };

    // `onCommit` runs on the writer's thread after each commit of queued
    // rows, `onFailure` once after the first failure, `onWaiting` once when a
    // wait for another program's lock passes the notice time; they only pass
    // the news on.
    HistoryWriter(const QString &path, std::function<void()> onCommit, std::function<void()> onFailure,
                  std::function<void()> onWaiting = {});
    // Commits what is queued (waiting for another program's lock as long as
    // it takes), then ends the thread.
    ~HistoryWriter();

    // Before start(): the wait after which the notice comes.
    void setWaitNotice(Ms after) { noticeAfter = after; }
    // Opens the writer's connection on its thread; false with the reason.
    bool start(QString *error);

    // Queues a row; dropped after a failure.
    void add(Item &&item);
    // Rows queued and not committed yet.
    int pending() const;
    // The first failure, once there was one.
    bool hasFailed(Failure *failure) const;
    // The notice of a long wait for another program's lock.
    QString waitingMessage() const;

    // Queues a session's beginning (it is written and committed at once,
    // with whatever is queued); its handle, or 0 after a failure.
    qint64 beginSession(const HistoryStore::Session &session);
    // Queues a session's end, committed like its beginning.
    void endSession(qint64 handle);
    // The session's row once its beginning is written, 0 before.
    qint64 sessionId(qint64 handle) const;
    // The same, waiting at most `wait` for it; 0 after a failure (in `failure`).
    qint64 waitForSession(qint64 handle, Ms wait, Failure *failure);

    // Commits everything queued now and waits for it, at most `wait`.
    // Waiting: another program holds the file; everything stays queued.
    Flushed flush(Failure *failure, Ms wait = Forever);
    // Removes a session that no writer has open (Nothing when there is no
    // such session); a real write error comes back in `failure`.
    Removal deleteSession(qint64 session, Failure *failure);
    // Whether some writer (this one or another program's) has the session open.
    static bool isRecording(const QString &historyPath, qint64 session);

private:
    using Clock = std::chrono::steady_clock;
    using Job = std::function<void(QSqlDatabase &)>;
    struct Statements;
    struct OpenSession {
        HistoryStore::Session identity;
        int nextPosition = 0;
        qint64 id = 0; // once its row is written
    };
    enum class Result { Committed, Busy, Failed };
    // One step of indexing the records' names: More to do, Done (or given
    // up until the next commit), Busy (another program holds the file).
    enum class Names { More, Done, Busy };

    void run();
    bool runJob(const Job &job, Failure *failure);
    Result commit(QSqlDatabase &db);
    Result writeItem(QSqlDatabase &db, Statements &sql, const Item &item, std::vector<qint64> *begun, std::vector<qint64> *ended);
    Result writeRecord(Statements &sql, const Item &item);
    Result writeLive(Statements &sql, const Item &item);
    Removal removeSession(QSqlDatabase &db, qint64 session);
    void sweep(QSqlDatabase &db, const QList<qint64> &records);
    Names indexNames(QSqlDatabase &db);
    // A busy or locked database is a wait, anything else a failure (false).
    Result failOrWait(const QString &what, const QSqlError &error);
    // Called on the writer's thread; always false.
    bool fail(const QString &what, const QString &detail);

    const QString filePath;
    const QString connection;
    const std::function<void()> committed;
    const std::function<void()> failed;
    const std::function<void()> waited;
    Ms noticeAfter = WaitNotice;
    std::unique_ptr<QThread> thread;

    // Shared with the store's thread, under `mutex`.
    mutable std::mutex mutex;
    std::condition_variable wake; // the writer: rows, a job or the end
    std::condition_variable done; // the store's thread: a job done, a commit made
    std::vector<Item> queue;
    int uncommitted = 0; // rows queued plus those of the batch being written
    int unsettled = 0;   // everything queued or being written
    Clock::time_point deadline;
    bool urgent = false; // commit what is queued without waiting for the interval
    qint64 lastHandle = 0;
    QHash<qint64, qint64> written; // handle → row of each open session once it is written
    const Job *job = nullptr;
    bool jobDone = false;
    bool opened = false;
    bool started = false;
    QString openError;
    bool stopping = false;
    bool broken = false;
    Failure failure;
    QString waitNotice;

    // The writer's thread only.
    std::vector<Item> batch; // kept whole while another program holds the file
    QHash<qint64, OpenSession> sessions;
    int sessionLocks = -1; // the file descriptor of <history>-sessions
};
