#pragma once
// The team server: a copy of the local history in a PostgreSQL database that
// every technician's Lumisk fills. The local file stays the first home of
// every row; a thread of its own (with its own connections to the file and
// to the server) sends what the server lacks in batches whenever the server
// answers, and waits longer after each failure (1 s doubling up to a minute).
// Every server row has a key that holds on every PC, and every insert skips
// what is there already, so a batch cut off by a dying server or a PC sending
// records another one sent before never doubles anything.

#include "history/historystore.h"
#include "history/syncworker.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>

class HistorySync : public QObject
{
    Q_OBJECT
public:
    enum State { Connecting, Synced, Waiting, Unreachable };
    static constexpr int DefaultBatchRows = 5000;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 60000;

    // `localPath`: the history file; `server`: libpq keywords or a URI.
    HistorySync(const QString &localPath, const QString &server, QObject *parent = nullptr);
    ~HistorySync() override;

    // Tuning, before start(): rows per batch and the retry delays.
    void setBatchRows(int rows);
    void setRetryDelays(int firstMs, int longestMs);
    void start();
    // Stops the thread once its current batch is done.
    void stop();
    // New rows were committed to the file.
    void nudge();

    State state() const { return current; }
    // Sessions, records of sessions and live readings the server still lacks.
    int waiting() const { return waitingRows; }
    QString error() const { return lastError; }
    // "Synced", "12 waiting", "Server unreachable: …", translated.
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
    QThread thread;
    SyncWorker *worker = nullptr; // lives in `thread` from start() to stop()
    State current = Connecting;
    int waitingRows = 0;
    QString lastError;
};
