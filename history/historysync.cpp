#include "history/historysync.h"

#include "history/syncworker.h"

#include <QMetaObject>

HistorySync::HistorySync(const QString &localPath, const QString &server, QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QList<HistoryStore::SessionSummary>>("QList<HistoryStore::SessionSummary>");
    options.localPath = localPath;
    options.server = server;
    options.batchRows = DefaultBatchRows;
    options.firstRetryMs = FirstRetryMs;
    options.longestRetryMs = LongestRetryMs;
    thread.setObjectName(QStringLiteral("lumisk-history-sync"));
}

HistorySync::~HistorySync()
{
    stop();
}

void HistorySync::setBatchRows(int rows)
{
    options.batchRows = qMax(1, rows);
}

void HistorySync::setRetryDelays(int firstMs, int longestMs)
{
    options.firstRetryMs = qMax(1, firstMs);
    options.longestRetryMs = qMax(options.firstRetryMs, longestMs);
}

void HistorySync::start()
{
    if (worker)
        return;
    worker = new SyncWorker(options);
    worker->moveToThread(&thread);
    connect(worker, &SyncWorker::stateChanged, this, &HistorySync::update);
    connect(worker, &SyncWorker::sessionsListed, this, &HistorySync::sessionsListed);
    thread.start();
    QMetaObject::invokeMethod(worker, &SyncWorker::start, Qt::QueuedConnection);
}

void HistorySync::stop()
{
    if (!worker)
        return;
    // The worker closes its connections in its own thread, then ends it.
    QMetaObject::invokeMethod(worker, &SyncWorker::stop, Qt::QueuedConnection);
    thread.wait();
    delete worker;
    worker = nullptr;
}

void HistorySync::nudge()
{
    if (worker)
        QMetaObject::invokeMethod(worker, &SyncWorker::nudge, Qt::QueuedConnection);
}

void HistorySync::requestSessions()
{
    if (worker)
        QMetaObject::invokeMethod(worker, &SyncWorker::listSessions, Qt::QueuedConnection);
    else
        emit sessionsListed({}, tr("The team server is not in use."));
}

QString HistorySync::stateText() const
{
    switch (current) {
    case Connecting:
        return tr("Connecting to the team server…");
    case Synced:
        return tr("Synced");
    case Waiting:
        return tr("%n waiting", nullptr, waitingRows);
    case Unreachable:
        return waitingRows > 0 ? tr("Server unreachable: %1 (%2)").arg(lastError, tr("%n waiting", nullptr, waitingRows))
                               : tr("Server unreachable: %1").arg(lastError);
    }
    return QString();
}

void HistorySync::update(int state, int waiting, const QString &error)
{
    current = State(state);
    waitingRows = waiting;
    lastError = error;
    emit stateChanged();
}
