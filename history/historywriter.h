#pragma once
// The thread that writes the history file. The store hands it the records
// and live readings as they arrive; it inserts them on a connection of its
// own and commits them together one commit interval after the first of them,
// so that neither the inserts nor a commit's wait for the disk hold up the
// thread that downloads. Sessions are begun, ended and deleted here too (the
// store waits for those): one connection alone writes the file, and every
// write lands in the order it was asked for. After the first failing write
// it takes nothing more.

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
class QThread;

class HistoryWriter
{
public:
    // A write that failed: what could not be done, and the database's words.
    struct Failure {
        QString what;
        QString detail;
    };
    struct Item {
        qint64 session = 0;
        bool live = false;
        HistoryStore::Record record;
        HistoryStore::LiveReading liveReading;
    };

    // `onCommit` runs on the writer's thread after each commit of queued
    // rows, `onFailure` once after the first failure; both only pass the news on.
    HistoryWriter(const QString &path, std::function<void()> onCommit, std::function<void()> onFailure);
    // Commits what is queued, then ends the thread.
    ~HistoryWriter();

    // Opens the writer's connection on its thread; false with the reason.
    bool start(QString *error);

    // Queues a row; dropped after a failure.
    void add(Item &&item);
    // Rows queued and not committed yet.
    int pending() const;
    // The first failure, once there was one.
    bool hasFailed(Failure *failure) const;

    // These wait for the writer, which first commits everything queued; a
    // failure (of that commit or of the step itself) comes back in `failure`.
    bool flush(Failure *failure);
    // The new session's id; 0 on failure.
    qint64 beginSession(const HistoryStore::Session &session, Failure *failure);
    bool endSession(qint64 session, Failure *failure);
    // False when nothing could be removed; that is no failure of the history.
    bool deleteSession(qint64 session, Failure *failure);

private:
    using Clock = std::chrono::steady_clock;
    using Job = std::function<void(QSqlDatabase &)>;
    struct Statements;
    struct OpenSession {
        HistoryStore::Session identity;
        int nextPosition = 0;
    };

    void run();
    bool runJob(const Job &job, Failure *failure);
    bool commit(QSqlDatabase &db);
    bool writeRecord(Statements &sql, const Item &item);
    bool writeLive(Statements &sql, const Item &item);
    // Called on the writer's thread; always false.
    bool fail(const QString &what, const QString &detail);

    const QString filePath;
    const QString connection;
    const std::function<void()> committed;
    const std::function<void()> failed;
    std::unique_ptr<QThread> thread;

    // Shared with the store's thread, under `mutex`.
    mutable std::mutex mutex;
    std::condition_variable wake; // the writer: rows, a job or the end
    std::condition_variable done; // the store's thread: the job is done
    std::vector<Item> queue;
    int uncommitted = 0; // queued plus the batch being written
    Clock::time_point deadline;
    const Job *job = nullptr;
    bool jobDone = false;
    bool opened = false;
    bool started = false;
    QString openError;
    bool stopping = false;
    bool broken = false;
    Failure failure;

    // The writer's thread only.
    std::vector<Item> batch;
    QHash<qint64, OpenSession> sessions;
};
