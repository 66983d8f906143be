#include "history/historysync.h"

#include "history/serverguard.h"
#include "history/syncworker.h"

#include <QMetaObject>
#include <QThread>

HistorySync::HistorySync(const QString &localPath, const QString &server, QObject *parent) : QObject(parent)
{
    qRegisterMetaType<QList<HistoryStore::SessionSummary>>("QList<HistoryStore::SessionSummary>");
    options.localPath = localPath;
    options.server = server;
    options.batchRows = DefaultBatchRows;
    options.firstRetryMs = FirstRetryMs;
    options.longestRetryMs = LongestRetryMs;
    options.answerLimitMs = AnswerLimitMs;
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

void HistorySync::setAnswerLimit(int ms)
{
    options.answerLimitMs = qMax(1, ms);
}

void HistorySync::start()
{
    if (worker)
        return;
    guard = std::make_shared<ServerGuard>();
    thread = new QThread;
    thread->setObjectName(QStringLiteral("lumisk-team-sync"));
    worker = new SyncWorker(options, guard);
    worker->moveToThread(thread);
    connect(worker, &SyncWorker::stateChanged, this, &HistorySync::update);
    connect(worker, &SyncWorker::sessionsListed, this, &HistorySync::sessionsListed);
    thread->start();
    QMetaObject::invokeMethod(worker, &SyncWorker::start, Qt::QueuedConnection);
}

void HistorySync::stop()
{
    if (!worker)
        return;
    disconnect(worker, nullptr, this, nullptr);
    // The call in flight on the server ends at once; the worker then closes
    // its connections in its own thread and ends it.
    guard->stop();
    QMetaObject::invokeMethod(worker, &SyncWorker::stop, Qt::QueuedConnection);
    if (thread->wait(StopWaitMs)) {
        delete worker;
        delete thread;
    }
    // Otherwise the worker is inside a connection attempt, which libpq ends
    // after connect_timeout (or waits for the history file, which SQLite
    // gives up after its busy timeout): it then sees the stop, closes its
    // connections and ends its thread without touching anything it shares
    // with the rest of the program, which may be ending by then. The two
    // objects are left behind for it (a running thread is never destroyed).
    worker = nullptr;
    thread = nullptr;
    guard.reset();
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
        // A file another program holds (or one that fails) holds up the marks.
        return lastError.isEmpty() ? tr("%n waiting", nullptr, waitingRows)
                                   : tr("%n waiting: %1", nullptr, waitingRows).arg(lastError);
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
