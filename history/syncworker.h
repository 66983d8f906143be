#pragma once
// The thread side of HistorySync: reads what the server lacks from the
// history file, sends it, and marks it sent. Lives in the sync's thread and
// opens its connections there.

#include "history/historystore.h"

#include <QObject>
#include <QString>
#include <QTimer>

class SyncWorker : public QObject
{
    Q_OBJECT
public:
    // The schema this program gives the server; a newer one is left alone.
    static constexpr int ServerSchemaVersion = 2;
    // How often a synced worker looks at the file without being nudged.
    static constexpr int IdlePollMs = 30000;
    // Rows written in a burst are sent together rather than one commit each.
    static constexpr int GatherMs = 300;

    struct Options {
        QString localPath;
        QString server;
        int batchRows = 5000;
        int firstRetryMs = 1000;
        int longestRetryMs = 60000;
    };
    explicit SyncWorker(const Options &options);
    ~SyncWorker() override;

    // The server tables and the view, one step per version.
    static const QList<QStringList> &serverMigrations();

public slots:
    void start();
    void nudge();
    void listSessions();
    void stop();

signals:
    void stateChanged(int state, int waiting, const QString &error);
    void sessionsListed(const QList<HistoryStore::SessionSummary> &sessions, const QString &error);

private:
    enum class Next { Nothing, Batch, Gather, Retry, Idle };

    bool openLocal();
    bool openServer();
    void closeServer();
    bool migrateServer();
    bool adoptServer(const QString &serverUid);
    void step();
    void schedule(Next next, int delayMs);
    void failed(const QString &why);
    int countWaiting();
    // One batch: false on a server or file error (in lastError).
    bool pushBatch();

    Options options;
    QString localConnection;
    QString serverConnection;
    bool serverReady = false;
    bool stopped = false;
    QString lastError;
    QTimer timer;
    Next next = Next::Nothing;
    int retryMs;
};
