#include "history/historywriter.h"

#include "link/logging.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString connectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("lumisk-history-writer-%1").arg(next++);
}

QString utcText(const QDateTime &when)
{
    return when.toUTC().toString(Qt::ISODateWithMs);
}

// The number a power text shows; null for "Low", "High" and "---".
QVariant powerNumber(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? QVariant(value) : QVariant(QVariant::Double);
}

// Empty texts are NULL in the reading columns ("no unit", "no frequency")...
QVariant optional(const QString &text)
{
    return text.isEmpty() ? QVariant(QVariant::String) : QVariant(text);
}

// ...and '' in the key columns, which a NULL would take out of the unique key.
QVariant nonNull(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant verdictText(int verdict)
{
    const QString word = History::verdictWord(verdict);
    return word.isEmpty() ? QVariant(QVariant::String) : QVariant(word);
}

// SQLITE_BUSY and SQLITE_LOCKED, with any extended code: another connection
// holds the file.
bool isBusy(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok && (code == 5 || code == 6);
}

// <history>-sessions: while a session is open its writer holds a write lock
// on the byte at the session's row id. The locks belong to an open file
// description, so they hold against every other open of the file (in this
// process too) and go with the process, however it ends.
QByteArray sessionLocksPath(const QString &historyPath)
{
    return QFile::encodeName(historyPath + QStringLiteral("-sessions"));
}

int openSessionLocks(const QString &historyPath)
{
    const int fd = ::open(sessionLocksPath(historyPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::fchmod(fd, 0600);
    return fd;
}

bool lockByte(int fd, qint64 at, short type, int command = F_OFD_SETLK)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(at);
    lock.l_len = 1;
    return ::fcntl(fd, command, &lock) == 0;
}

// A new session's byte: only a program that deletes a session of the same
// id holds it, for the moment between its commit and letting go.
void holdSession(int fd, qint64 id)
{
    if (fd < 0)
        return;
    for (int attempt = 0; attempt < 100 && !lockByte(fd, id, F_WRLCK); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void releaseSession(int fd, qint64 id)
{
    if (fd >= 0)
        lockByte(fd, id, F_UNLCK);
}

} // namespace

// The statements of one commit, prepared once for all its rows.
struct HistoryWriter::Statements {
    explicit Statements(const QSqlDatabase &db)
        : insertRecord(db), findRecord(db), insertReading(db), linkRecord(db), insertLive(db)
    {
        insertRecord.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO records (meter_model, meter_version, meter_kind, family, number, name, time_text,"
            " payload, time_iso) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        findRecord.prepare(QStringLiteral("SELECT id FROM records WHERE meter_model = ? AND meter_version = ? AND"
                                          " meter_kind = ? AND family = ? AND number = ? AND name = ? AND"
                                          " time_text = ? AND payload = ?"));
        insertReading.prepare(QStringLiteral("INSERT INTO readings (record, idx, wavelength, power_dbm, power_text,"
                                             " unit, reference, watt, frequency, verdict)"
                                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        linkRecord.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO session_records (session, record, position) VALUES (?, ?, ?)"));
        insertLive.prepare(QStringLiteral("INSERT INTO live_readings (session, arrival_utc, local_offset_s,"
                                          " wavelength, power_dbm, power_text, unit, frequency, reference, watt)"
                                          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    }
    void finish()
    {
        for (QSqlQuery *query : {&insertRecord, &findRecord, &insertReading, &linkRecord, &insertLive})
            query->finish();
    }
    QSqlQuery insertRecord;
    QSqlQuery findRecord;
    QSqlQuery insertReading;
    QSqlQuery linkRecord;
    QSqlQuery insertLive;
};

HistoryWriter::HistoryWriter(const QString &path, std::function<void()> onCommit, std::function<void()> onFailure,
                             std::function<void()> onWaiting)
    : filePath(path), connection(connectionName()), committed(std::move(onCommit)), failed(std::move(onFailure)),
      waited(std::move(onWaiting))
{
}

HistoryWriter::~HistoryWriter()
{
    if (!thread)
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    thread->wait();
    // The writer touched the members last before it let go of the mutex:
    // taking it once orders their destruction after that.
    const std::lock_guard<std::mutex> lock(mutex);
}

bool HistoryWriter::start(QString *error)
{
    thread.reset(QThread::create([this]() { run(); }));
    thread->setObjectName(QStringLiteral("lumisk-history-writer"));
    thread->start();
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this]() { return started; });
    if (opened)
        return true;
    *error = openError;
    lock.unlock();
    thread->wait();
    thread.reset();
    return false;
}

void HistoryWriter::run()
{
    // Background work: while a download keeps the processors busy, the
    // history yields to it and catches up in its pauses.
    errno = 0;
    const int niceness = ::getpriority(PRIO_PROCESS, ::gettid());
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, ::gettid(), std::min(niceness + WriterNiceness, 19));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath);
        // SQLite waits this long for another program's lock; the wait goes
        // on here, where what arrives meanwhile joins the batch.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeout.count()));
        const bool ok = db.open();
        if (ok) {
            QSqlQuery query(db);
            // The store's own connection made the file a write-ahead log;
            // these hold per connection. FULL: the log reaches the disk at
            // every commit, so a power cut keeps what was committed.
            query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
            query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
            sessionLocks = openSessionLocks(filePath);
        }
        {
            const std::lock_guard<std::mutex> lock(mutex);
            started = true;
            opened = ok;
            if (!ok)
                openError = db.lastError().text();
        }
        done.notify_all();

        Ms retryIn = FirstRetry;
        Clock::time_point retryAt;
        Clock::time_point waitingSince;
        bool told = false;
        // Names not yet indexed: those of a file just brought up to date,
        // and of every commit's new records.
        bool namesBehind = true;
        Clock::time_point namesAt;
        std::unique_lock<std::mutex> lock(mutex);
        while (ok) {
            // Rows wait for their commit interval unless a flush or the end
            // wants everything committed now; a batch another program kept
            // out waits for its next try.
            const Clock::time_point now = Clock::now();
            const bool due = !batch.empty() ? now >= retryAt
                                            : !queue.empty() && (urgent || stopping || now >= deadline);
            if (!due && !job) {
                if (stopping && queue.empty() && batch.empty())
                    break;
                // A flush that came while a batch was being written has
                // nothing left to hurry.
                if (queue.empty())
                    urgent = false;
                // Idle (or waiting for the commit interval): a step of
                // indexing names, never while a batch waits for the file.
                if (namesBehind && batch.empty() && !urgent && now >= namesAt && !broken) {
                    lock.unlock();
                    const Names step = indexNames(db);
                    lock.lock();
                    namesBehind = step != Names::Done;
                    if (step == Names::Busy)
                        namesAt = Clock::now() + NameRetry;
                    continue;
                }
                const bool namesWait = namesBehind && batch.empty() && !broken;
                if (!batch.empty())
                    wake.wait_until(lock, retryAt);
                else if (!queue.empty() && !urgent)
                    wake.wait_until(lock, namesWait ? std::min(deadline, namesAt) : deadline);
                else if (namesWait)
                    wake.wait_until(lock, namesAt);
                else
                    wake.wait(lock);
                continue;
            }
            const Job *current = job;
            job = nullptr;
            if (due) {
                if (batch.empty())
                    batch.swap(queue);
                else
                    std::move(queue.begin(), queue.end(), std::back_inserter(batch));
                queue.clear();
                urgent = false;
            }
            lock.unlock();
            Result result = Result::Committed;
            int rows = 0;
            const int items = int(batch.size());
            if (due) {
                result = commit(db);
                if (result == Result::Busy) {
                    const Clock::time_point at = Clock::now();
                    if (retryIn == FirstRetry)
                        waitingSince = at;
                    retryAt = at + retryIn;
                    retryIn = std::min(retryIn * 2, LongestRetry);
                    if (!told && at - waitingSince >= noticeAfter) {
                        told = true;
                        const QString message =
                            HistoryStore::tr("The history waits for another program that is writing %1 (another "
                                             "Lumisk, lumisk-cli, a backup or the sqlite3 shell). Nothing is lost: "
                                             "it is written as soon as that program lets go.")
                                .arg(filePath);
                        qCWarning(lcHistory).noquote() << message;
                        {
                            const std::lock_guard<std::mutex> guard(mutex);
                            waitNotice = message;
                        }
                        if (waited)
                            waited();
                    }
                } else {
                    retryIn = FirstRetry;
                    told = false;
                    rows = int(std::count_if(batch.begin(), batch.end(), [](const Item &item) {
                        return item.kind == Item::Kind::Record || item.kind == Item::Kind::Live;
                    }));
                    namesBehind = namesBehind || std::any_of(batch.begin(), batch.end(), [](const Item &item) {
                        return item.kind == Item::Kind::Record;
                    });
                    // The rows are freed before the lock is taken: a big batch takes a
                    // while, and the caller's thread must not wait to queue the next.
                    batch.clear();
                }
            }
            if (current && !broken) // read on this thread, which alone sets it
                (*current)(db);
            lock.lock();
            if (due && result != Result::Busy) {
                uncommitted = broken ? 0 : uncommitted - rows;
                unsettled = broken ? 0 : unsettled - items;
            }
            if (current)
                jobDone = true;
            done.notify_all();
        }
        lock.unlock();
        db.close();
        if (sessionLocks >= 0)
            ::close(sessionLocks);
        sessionLocks = -1;
    }
    QSqlDatabase::removeDatabase(connection);
}

void HistoryWriter::add(Item &&item)
{
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (broken)
            return;
        first = queue.empty();
        if (first)
            deadline = Clock::now() + std::chrono::milliseconds(HistoryStore::CommitIntervalMs);
        // A session's beginning or end is written at once, with whatever
        // is queued before it.
        const bool row = item.kind == Item::Kind::Record || item.kind == Item::Kind::Live;
        if (row)
            ++uncommitted;
        else
            urgent = first = true;
        ++unsettled;
        queue.push_back(std::move(item));
    }
    // The writer waits without a deadline only while nothing is queued.
    if (first)
        wake.notify_one();
}

int HistoryWriter::pending() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return uncommitted;
}

bool HistoryWriter::hasFailed(Failure *out) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    if (broken && out)
        *out = failure;
    return broken;
}

QString HistoryWriter::waitingMessage() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return waitNotice;
}

bool HistoryWriter::runJob(const Job &work, Failure *out)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!thread || broken) {
        if (out)
            *out = failure;
        return false;
    }
    job = &work;
    jobDone = false;
    wake.notify_one();
    done.wait(lock, [this]() { return jobDone; });
    if (broken && out)
        *out = failure;
    return !broken;
}

HistoryWriter::Flushed HistoryWriter::flush(Failure *out, Ms wait)
{
    std::unique_lock<std::mutex> lock(mutex);
    const auto settled = [this]() { return broken || unsettled == 0; };
    if (thread && !settled()) {
        urgent = true;
        wake.notify_one();
        if (wait == Forever)
            done.wait(lock, settled);
        else if (!done.wait_for(lock, wait, settled))
            return Flushed::Waiting;
    }
    if (!thread || broken) {
        if (out)
            *out = failure;
        return Flushed::Failed;
    }
    return Flushed::Done;
}

qint64 HistoryWriter::beginSession(const HistoryStore::Session &session)
{
    Item item;
    item.kind = Item::Kind::Begin;
    item.identity = session;
    item.when = QDateTime::currentDateTimeUtc();
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (broken)
            return 0;
        item.session = --lastHandle;
    }
    const qint64 handle = item.session;
    add(std::move(item));
    return handle;
}

void HistoryWriter::endSession(qint64 handle)
{
    Item item;
    item.kind = Item::Kind::End;
    item.session = handle;
    item.when = QDateTime::currentDateTimeUtc();
    add(std::move(item));
}

qint64 HistoryWriter::sessionId(qint64 handle) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return written.value(handle, 0);
}

qint64 HistoryWriter::waitForSession(qint64 handle, Ms wait, Failure *out)
{
    std::unique_lock<std::mutex> lock(mutex);
    done.wait_for(lock, wait, [&]() { return broken || written.contains(handle); });
    if (broken && out)
        *out = failure;
    return broken ? 0 : written.value(handle, 0);
}

HistoryWriter::Removal HistoryWriter::deleteSession(qint64 session, Failure *out)
{
    Removal removal = Removal::Nothing;
    runJob([&](QSqlDatabase &db) { removal = removeSession(db, session); }, out);
    return removal;
}

bool HistoryWriter::isRecording(const QString &historyPath, qint64 session)
{
    const int fd = ::open(sessionLocksPath(historyPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(session);
    lock.l_len = 1;
    const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

HistoryWriter::Removal HistoryWriter::removeSession(QSqlDatabase &db, qint64 session)
{
    const Clock::time_point giveUp = Clock::now() + DeleteWait;
    Ms retryIn = FirstRetry;
    QSqlQuery query(db);
    while (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        if (!isBusy(query.lastError()))
            return Removal::Nothing;
        if (Clock::now() + retryIn >= giveUp)
            return Removal::Busy;
        std::this_thread::sleep_for(retryIn);
        retryIn = std::min(retryIn * 2, LongestRetry);
    }
    // The session's byte is held while its rows go: a writer that has it
    // open holds it already, and none can begin it meanwhile.
    const int locks = openSessionLocks(filePath);
    const auto giveBack = [&](Removal removal) {
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (locks >= 0)
            ::close(locks);
        return removal;
    };
    bool free = false;
    if (locks >= 0) {
        free = lockByte(locks, session, F_WRLCK);
    } else {
        // No lock file to ask: an unfinished session may still be written.
        query.prepare(QStringLiteral("SELECT ended_utc IS NULL FROM sessions WHERE id = ?"));
        query.addBindValue(session);
        free = query.exec() && !(query.next() && query.value(0).toBool());
    }
    if (!free)
        return giveBack(Removal::InUse);
    // The records it held: those no other session holds go afterwards.
    QList<qint64> records;
    query.prepare(QStringLiteral("SELECT record FROM session_records WHERE session = ?"));
    query.addBindValue(session);
    if (!query.exec())
        return giveBack(Removal::Nothing);
    while (query.next())
        records << query.value(0).toLongLong();
    bool any = false;
    for (const QString &sql : {QStringLiteral("DELETE FROM session_records WHERE session = ?"),
                               QStringLiteral("DELETE FROM live_readings WHERE session = ?"),
                               QStringLiteral("DELETE FROM sessions WHERE id = ?")}) {
        query.prepare(sql);
        query.addBindValue(session);
        if (!query.exec())
            return giveBack(Removal::Nothing);
        any = query.numRowsAffected() > 0;
    }
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT")))
        return giveBack(isBusy(query.lastError()) ? Removal::Busy : Removal::Nothing);
    if (locks >= 0)
        ::close(locks);
    sweep(db, records);
    return any ? Removal::Removed : Removal::Nothing;
}

void HistoryWriter::sweep(QSqlDatabase &db, const QList<qint64> &records)
{
    // In short transactions, so that no other writer waits long; each one
    // looks again whether a session holds the record (another program may
    // have downloaded it again meanwhile). That look is the statements' own:
    // SQLite's foreign-key check would look through every session's records
    // once per record removed (no index leads with the record), so it is
    // off meanwhile. A step's records go as one bound JSON array. What is
    // left when the file stays busy is held by no session: nothing shows it.
    const QStringList steps = {
        QStringLiteral("DELETE FROM readings WHERE record IN (SELECT value FROM json_each(?)) AND record NOT IN"
                       " (SELECT record FROM session_records WHERE record IN (SELECT value FROM json_each(?)))"),
        QStringLiteral("DELETE FROM records WHERE id IN (SELECT value FROM json_each(?)) AND id NOT IN"
                       " (SELECT record FROM session_records WHERE record IN (SELECT value FROM json_each(?)))"),
    };
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    for (int from = 0; from < records.size(); from += SweepChunk) {
        QStringList ids;
        for (const qint64 record : records.mid(from, SweepChunk))
            ids << QString::number(record);
        const QString chunk = QLatin1Char('[') + ids.join(QLatin1Char(',')) + QLatin1Char(']');
        const Clock::time_point giveUp = Clock::now() + DeleteWait;
        Ms retryIn = FirstRetry;
        bool ok = false;
        for (;;) {
            ok = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
            for (int step = 0; ok && step < steps.size(); ++step) {
                query.prepare(steps.at(step));
                query.addBindValue(chunk);
                query.addBindValue(chunk);
                ok = query.exec();
            }
            ok = ok && query.exec(QStringLiteral("COMMIT"));
            if (ok)
                break;
            const bool busy = isBusy(query.lastError());
            query.finish();
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            if (!busy || Clock::now() + retryIn >= giveUp)
                break;
            std::this_thread::sleep_for(retryIn);
            retryIn = std::min(retryIn * 2, LongestRetry);
        }
        if (!ok)
            break;
    }
    query.finish();
    query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
}

HistoryWriter::Names HistoryWriter::indexNames(QSqlDatabase &db)
{
    // The next records after those indexed, in the order of their ids,
    // indexed and counted as indexed in one transaction.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return Names::Busy;
    const auto undo = [&query](Names outcome) {
        query.finish();
        query.exec(QStringLiteral("ROLLBACK"));
        return outcome;
    };
    query.prepare(QStringLiteral("SELECT max(id) FROM (SELECT id FROM records"
                                 " WHERE id > (SELECT upto FROM record_names_indexed) ORDER BY id LIMIT ?)"));
    query.addBindValue(NameChunk);
    if (!query.exec() || !query.next())
        return undo(Names::Done); // a file without the index: nothing to do
    if (query.isNull(0))
        return undo(Names::Done);
    const qint64 upto = query.value(0).toLongLong();
    query.prepare(QStringLiteral("INSERT INTO record_names (rowid, name) SELECT id, name || char(31, 31) FROM records"
                                 " WHERE id > (SELECT upto FROM record_names_indexed) AND id <= ?"));
    query.addBindValue(upto);
    if (!query.exec())
        return undo(Names::Done);
    query.prepare(QStringLiteral("UPDATE record_names_indexed SET upto = ?"));
    query.addBindValue(upto);
    if (!query.exec())
        return undo(Names::Done);
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT")))
        return undo(Names::Busy);
    return Names::More;
}

HistoryWriter::Result HistoryWriter::commit(QSqlDatabase &db)
{
    const QString what = HistoryStore::tr("%1 cannot be written").arg(filePath);
    QSqlQuery control(db);
    // IMMEDIATE: the write lock first, so that a busy file costs no work.
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failOrWait(what, control.lastError());
    // Undone with the transaction when it does not commit.
    const QHash<qint64, OpenSession> before = sessions;
    std::vector<qint64> begun;
    std::vector<qint64> ended;
    Result result = Result::Committed;
    {
        Statements sql(db);
        for (const Item &item : batch) {
            result = writeItem(db, sql, item, &begun, &ended);
            if (result != Result::Committed)
                break;
        }
        sql.finish();
    }
    if (result == Result::Committed && !control.exec(QStringLiteral("COMMIT")))
        result = failOrWait(what, control.lastError());
    if (result != Result::Committed) {
        control.exec(QStringLiteral("ROLLBACK"));
        {
            const std::lock_guard<std::mutex> lock(mutex);
            for (const qint64 handle : begun)
                written.remove(handle);
        }
        for (const qint64 handle : begun)
            releaseSession(sessionLocks, sessions.value(handle).id);
        sessions = before;
        return result;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        for (const qint64 handle : ended)
            written.remove(handle);
    }
    for (const qint64 handle : ended) {
        releaseSession(sessionLocks, sessions.value(handle).id);
        sessions.remove(handle);
    }
    if (committed)
        committed();
    return Result::Committed;
}

HistoryWriter::Result HistoryWriter::writeItem(QSqlDatabase &db, Statements &sql, const Item &item, std::vector<qint64> *begun,
                                               std::vector<qint64> *ended)
{
    switch (item.kind) {
    case Item::Kind::Record:
        return writeRecord(sql, item);
    case Item::Kind::Live:
        return writeLive(sql, item);
    case Item::Kind::Begin: {
        const HistoryStore::Session &session = item.identity;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO sessions (kind, meter_model, meter_version, meter_kind,"
                                     " range_code, technician, host, started_utc, uid)"
                                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &value :
             {nonNull(session.kind), nonNull(session.meterModel), nonNull(session.meterVersion),
              QVariant(session.meterKind), QVariant(session.rangeCode), nonNull(session.technician),
              nonNull(session.host), QVariant(utcText(item.when)), QVariant(QUuid::createUuid().toString(QUuid::Id128))})
            query.addBindValue(value);
        if (!query.exec())
            return failOrWait(HistoryStore::tr("a session cannot be added"), query.lastError());
        const qint64 id = query.lastInsertId().toLongLong();
        holdSession(sessionLocks, id);
        sessions.insert(item.session, {session, 0, id});
        begun->push_back(item.session);
        // The row is the session's under the write lock this transaction
        // holds: the store need not wait for the commit and its sync.
        {
            const std::lock_guard<std::mutex> lock(mutex);
            written.insert(item.session, id);
        }
        done.notify_all();
        return Result::Committed;
    }
    case Item::Kind::End: {
        const auto found = sessions.constFind(item.session);
        if (found == sessions.constEnd())
            return Result::Committed;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE sessions SET ended_utc = ?, synced = 0 WHERE id = ?"));
        query.addBindValue(utcText(item.when));
        query.addBindValue(found->id);
        if (!query.exec())
            return failOrWait(HistoryStore::tr("a session cannot be closed"), query.lastError());
        ended->push_back(item.session);
        return Result::Committed;
    }
    }
    return Result::Committed;
}

HistoryWriter::Result HistoryWriter::writeRecord(Statements &sql, const Item &item)
{
    const auto found = sessions.find(item.session);
    if (found == sessions.end())
        return Result::Committed;
    OpenSession &open = found.value();
    const HistoryStore::Session &meter = open.identity;
    const HistoryStore::Record &record = item.record;
    const QVariant key[] = {nonNull(meter.meterModel), nonNull(meter.meterVersion), meter.meterKind,
                            nonNull(record.family), record.number.toInt(), nonNull(record.name),
                            nonNull(record.time), record.payload.isNull() ? QByteArray("") : record.payload};
    QSqlQuery &query = sql.insertRecord;
    int column = 0;
    for (const QVariant &value : key)
        query.bindValue(column++, value);
    const QString iso = HistoryStore::isoTime(record.time);
    query.bindValue(column, iso.isEmpty() ? QVariant(QVariant::String) : QVariant(iso));
    if (!query.exec())
        return failOrWait(HistoryStore::tr("a record cannot be added"), query.lastError());
    qint64 id = 0;
    if (query.numRowsAffected() == 1) {
        id = query.lastInsertId().toLongLong();
        QSqlQuery &reading = sql.insertReading;
        for (int i = 0; i < record.readings.size(); ++i) {
            const HistoryStore::Reading &r = record.readings.at(i);
            int at = 0;
            for (const QVariant &value : {QVariant(id), QVariant(i), optional(r.wavelength), powerNumber(r.powerText),
                                          optional(r.powerText), optional(r.unit), optional(r.reference),
                                          optional(r.watt), optional(r.frequency), verdictText(r.verdict)})
                reading.bindValue(at++, value);
            if (!reading.exec())
                return failOrWait(HistoryStore::tr("a reading cannot be added"), reading.lastError());
        }
    } else {
        QSqlQuery &known = sql.findRecord;
        int at = 0;
        for (const QVariant &value : key)
            known.bindValue(at++, value);
        if (!known.exec() || !known.next())
            return failOrWait(HistoryStore::tr("a record cannot be added"), known.lastError());
        id = known.value(0).toLongLong();
        known.finish();
    }
    QSqlQuery &link = sql.linkRecord;
    link.bindValue(0, open.id);
    link.bindValue(1, id);
    link.bindValue(2, open.nextPosition++);
    if (!link.exec())
        return failOrWait(HistoryStore::tr("a record cannot be added"), link.lastError());
    return Result::Committed;
}

HistoryWriter::Result HistoryWriter::writeLive(Statements &sql, const Item &item)
{
    const auto found = sessions.constFind(item.session);
    if (found == sessions.constEnd())
        return Result::Committed;
    const HistoryStore::LiveReading &r = item.liveReading;
    QSqlQuery &query = sql.insertLive;
    int at = 0;
    // The meter's own number where it is known, not the rounded text's.
    const QVariant power = r.power ? QVariant(*r.power) : powerNumber(r.powerText);
    for (const QVariant &value : {QVariant(found->id), QVariant(utcText(r.arrival)), QVariant(r.arrival.offsetFromUtc()),
                                  optional(r.wavelength), power, optional(r.powerText), optional(r.unit),
                                  optional(r.frequency), optional(r.reference), optional(r.watt)})
        query.bindValue(at++, value);
    if (!query.exec())
        return failOrWait(HistoryStore::tr("a live reading cannot be added"), query.lastError());
    return Result::Committed;
}

HistoryWriter::Result HistoryWriter::failOrWait(const QString &what, const QSqlError &error)
{
    if (isBusy(error))
        return Result::Busy;
    fail(what, error.text());
    return Result::Failed;
}

bool HistoryWriter::fail(const QString &what, const QString &detail)
{
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        first = !broken;
        if (first) {
            broken = true;
            failure = {what, detail};
        }
        // What was queued would follow rows that are not there: it goes too,
        // with the batch that failed.
        queue.clear();
        uncommitted = 0;
        unsettled = 0;
    }
    if (first && failed)
        failed();
    return false;
}
