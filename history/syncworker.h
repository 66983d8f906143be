#pragma once
// The thread side of HistorySync: reads what the server lacks from the
// history file, sends it, and marks it sent. Lives in the sync's thread and
// opens its connections there.

#include "history/historystore.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QTimer>
#include <memory>

class ServerGuard;

class SyncWorker : public QObject
{
    Q_OBJECT
public:
    // How often a synced worker looks at the file without being nudged.
    static constexpr int IdlePollMs = 30000;
    // Rows written in a burst are sent together rather than one commit each.
    static constexpr int GatherMs = 300;
    // Rows whose "sent" marks one statement resets when another server is
    // adopted: each statement commits on its own and holds the file briefly.
    static constexpr int AdoptRows = 5000;

    struct Options {
        QString localPath;
        QString server;
        int batchRows = 5000;
        int firstRetryMs = 1000;
        int longestRetryMs = 60000;
        int answerLimitMs = 30000;
    };
    // `guard` breaks off its server calls (HistorySync stops it from its thread).
    SyncWorker(const Options &options, std::shared_ptr<ServerGuard> guard);
    ~SyncWorker() override;

public slots:
    void start();
    void nudge();
    void listSessions();
    void stop();

signals:
    void stateChanged(int state, int waiting, const QString &error);
    void sessionsListed(const QList<HistoryStore::SessionSummary> &sessions, const QString &error);

private:
    // Retry: after the server failed; Again: after the file failed.
    enum class Next { Nothing, Batch, Gather, Retry, Again, Idle };
    struct Batch;
    enum class Pushed { Done, ServerFailed, FileFailed };

    bool openLocal();
    bool openServer();
    void closeServer();
    // The server's tables brought up to date; *serverUid: the name it gives itself.
    bool migrateServer(QString *serverUid);
    bool adoptServer(const QString &serverUid);
    void step();
    void schedule(Next next, int delayMs);
    // The server failed: its connection is closed, and opened again later.
    void failed(const QString &why);
    // The file could not be read or marked: the same batch goes again later.
    void fileFailed();
    // `error`, or that the server did not answer when the guard broke off
    // the last call.
    QString serverError(const QString &error) const;
    // Rows to send. Sendable: counted as pushBatch() selects them, so that
    // a row it can never send (its session or record deleted by a tool that
    // ignored the foreign keys) is not waiting. Unsent: every row not marked
    // sent, a cheaper count that the sync uses between batches.
    enum class Count { Sendable, Unsent };
    int countWaiting(Count count = Count::Sendable);
    // One batch of what the server lacks: read from the file, sent, and
    // marked sent in the file (`marked` rows). A failure is in lastError.
    Pushed pushBatch();
    int marked = 0;
    bool readBatch(Batch *batch);
    // The server takes the batch whole or not at all.
    bool sendBatch(const Batch &batch);
    bool markSent(const Batch &batch);

    Options options;
    std::shared_ptr<ServerGuard> guard;
    QString localConnection;
    QString serverConnection;
    // Held here as well as under their names: stop() closes them without
    // the program-wide list of connections, which may be going away (see
    // HistorySync::stop()). Removed from that list by the destructor.
    QSqlDatabase local;
    QSqlDatabase server;
    bool serverReady = false;
    bool stopped = false;
    QString lastError;
    QTimer timer;
    Next next = Next::Nothing;
    int retryMs;
};
