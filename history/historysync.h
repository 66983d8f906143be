#pragma once
// The team server: a copy of the local history in a PostgreSQL database that
// every technician's Lumisk fills. The local file stays the first home of
// every row; a thread of its own (with its own connections to the file and
// to the server) sends what the server lacks in batches whenever the server
// answers, and waits longer after each failure (1 s doubling up to a minute).
// Every server row has a key that holds on every PC, and every insert skips
// what is there already, so a batch cut off by a dying server or a PC sending
// records another one sent before never doubles anything.
//
// The server never holds the program up: every statement and lock wait has a
// limit on the server (see ServerAddress), a call the server leaves without
// any answer is broken off after AnswerLimitMs, and stop() breaks off the
// call in flight and waits at most StopWaitMs for the thread. What was not
// committed on the server stays unsent in the file and goes next time.

#include "history/historystore.h"
#include "history/syncworker.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QThread;
class ServerGuard;

class HistorySync : public QObject
{
    Q_OBJECT
public:
    enum State { Connecting, Synced, Waiting, Unreachable };
    static constexpr int DefaultBatchRows = 5000;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 60000;
    // A server call (or a batch's few) without any answer for this long is
    // given up: a server that is merely slow has cancelled the statement by
    // then (statement_timeout, see ServerAddress).
    static constexpr int AnswerLimitMs = 30000;
    // How long stop() waits for the thread. Only a connection attempt cannot
    // be broken off (libpq ends it itself after connect_timeout); a thread
    // still in one is left to end alone.
    static constexpr int StopWaitMs = 2000;

    // `localPath`: the history file; `server`: libpq keywords or a URI.
    HistorySync(const QString &localPath, const QString &server, QObject *parent = nullptr);
    ~HistorySync() override;

    // Tuning, before start(): rows per batch and the retry delays.
    void setBatchRows(int rows);
    void setRetryDelays(int firstMs, int longestMs);
    void setAnswerLimit(int ms);
    void start();
    // Breaks off what the thread is doing on the server and ends it; never
    // waits longer than StopWaitMs.
    void stop();
    // New rows were committed to the file.
    void nudge();

    State state() const { return current; }
    // Sessions, records of sessions and live readings the server still lacks.
    int waiting() const { return waitingRows; }
    // Why the server is unreachable, or why rows wait on the file (it could
    // not be read or marked; the sync tries again as after a server failure).
    QString error() const { return lastError; }
    // "Synced", "12 waiting", "12 waiting: …", "Server unreachable: …", translated.
    QString stateText() const;

    // Asks the server for every technician's sessions, newest first;
    // sessionsListed answers.
    void requestSessions();

signals:
    void stateChanged();
    void sessionsListed(const QList<HistoryStore::SessionSummary> &sessions, const QString &error);

private:
    void update(int state, int waiting, const QString &error);

    SyncWorker::Options options;
    QThread *thread = nullptr;
    SyncWorker *worker = nullptr; // lives in `thread` from start() to stop()
    std::shared_ptr<ServerGuard> guard;
    State current = Connecting;
    int waitingRows = 0;
    QString lastError;
};
