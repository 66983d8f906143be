#include "history/historywriter.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>
#include <atomic>

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
    switch (verdict) {
    case 0:
        return QStringLiteral("pass");
    case 1:
        return QStringLiteral("warning");
    case 2:
        return QStringLiteral("fail");
    default:
        return QVariant(QVariant::String);
    }
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

HistoryWriter::HistoryWriter(const QString &path, std::function<void()> onCommit, std::function<void()> onFailure)
    : filePath(path), connection(connectionName()), committed(std::move(onCommit)), failed(std::move(onFailure))
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
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath);
        const bool ok = db.open();
        if (ok) {
            QSqlQuery query(db);
            // The store's own connection made the file a write-ahead log;
            // these hold per connection.
            query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
            query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        }
        {
            const std::lock_guard<std::mutex> lock(mutex);
            started = true;
            opened = ok;
            if (!ok)
                openError = db.lastError().text();
        }
        done.notify_all();

        std::unique_lock<std::mutex> lock(mutex);
        while (ok) {
            // Rows wait for their commit interval unless a job or the end
            // wants everything committed now.
            if (!job && !stopping) {
                if (queue.empty()) {
                    wake.wait(lock);
                    continue;
                }
                if (Clock::now() < deadline) {
                    wake.wait_until(lock, deadline);
                    continue;
                }
            }
            batch.swap(queue);
            const Job *current = job;
            job = nullptr;
            lock.unlock();
            if (!batch.empty())
                commit(db);
            if (current) {
                if (!broken) // read on this thread, which alone sets it
                    (*current)(db);
            }
            // The rows are freed before the lock is taken: a big batch takes a
            // while, and the caller's thread must not wait to queue the next.
            const int written = int(batch.size());
            batch.clear();
            lock.lock();
            uncommitted = broken ? 0 : uncommitted - written;
            if (current) {
                jobDone = true;
                done.notify_all();
            }
            if (stopping && queue.empty() && !job)
                break;
        }
        lock.unlock();
        db.close();
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
        queue.push_back(std::move(item));
        ++uncommitted;
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

bool HistoryWriter::flush(Failure *out)
{
    return runJob([](QSqlDatabase &) {}, out);
}

qint64 HistoryWriter::beginSession(const HistoryStore::Session &session, Failure *out)
{
    qint64 id = 0;
    const bool ok = runJob(
        [&](QSqlDatabase &db) {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("INSERT INTO sessions (kind, meter_model, meter_version, meter_kind,"
                                         " range_code, technician, host, started_utc, uid)"
                                         " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            for (const QVariant &value :
                 {nonNull(session.kind), nonNull(session.meterModel), nonNull(session.meterVersion),
                  QVariant(session.meterKind), QVariant(session.rangeCode), nonNull(session.technician),
                  nonNull(session.host), QVariant(utcText(QDateTime::currentDateTimeUtc())),
                  QVariant(QUuid::createUuid().toString(QUuid::Id128))})
                query.addBindValue(value);
            if (!query.exec()) {
                fail(HistoryStore::tr("a session cannot be added"), query.lastError().text());
                return;
            }
            id = query.lastInsertId().toLongLong();
            sessions.insert(id, {session, 0});
        },
        out);
    return ok ? id : 0;
}

bool HistoryWriter::endSession(qint64 session, Failure *out)
{
    return runJob(
        [&](QSqlDatabase &db) {
            sessions.remove(session);
            QSqlQuery query(db);
            query.prepare(QStringLiteral("UPDATE sessions SET ended_utc = ?, synced = 0 WHERE id = ?"));
            query.addBindValue(utcText(QDateTime::currentDateTimeUtc()));
            query.addBindValue(session);
            if (!query.exec())
                fail(HistoryStore::tr("a session cannot be closed"), query.lastError().text());
        },
        out);
}

bool HistoryWriter::deleteSession(qint64 session, Failure *out)
{
    bool removed = false;
    const bool ok = runJob(
        [&](QSqlDatabase &db) {
            if (!db.transaction())
                return;
            const QStringList steps = {
                QStringLiteral("DELETE FROM session_records WHERE session = ?"),
                QStringLiteral("DELETE FROM live_readings WHERE session = ?"),
                QStringLiteral("DELETE FROM sessions WHERE id = ?"),
            };
            bool any = false;
            for (const QString &sql : steps) {
                QSqlQuery query(db);
                query.prepare(sql);
                query.addBindValue(session);
                if (!query.exec()) {
                    query.finish();
                    db.rollback();
                    return;
                }
                any = query.numRowsAffected() > 0;
            }
            // Records (and their readings) that no session holds any longer.
            const QStringList orphans = {
                QStringLiteral("DELETE FROM readings WHERE record NOT IN (SELECT record FROM session_records)"),
                QStringLiteral("DELETE FROM records WHERE id NOT IN (SELECT record FROM session_records)"),
            };
            for (const QString &sql : orphans) {
                QSqlQuery query(db);
                if (!query.exec(sql)) {
                    query.finish();
                    db.rollback();
                    return;
                }
            }
            if (!db.commit()) {
                db.rollback();
                return;
            }
            removed = any;
        },
        out);
    return ok && removed;
}

bool HistoryWriter::commit(QSqlDatabase &db)
{
    if (!db.transaction())
        return fail(HistoryStore::tr("%1 cannot be written").arg(filePath), db.lastError().text());
    {
        Statements sql(db);
        for (const Item &item : batch) {
            if (!(item.live ? writeLive(sql, item) : writeRecord(sql, item))) {
                sql.finish();
                db.rollback();
                return false;
            }
        }
    }
    if (!db.commit()) {
        const QString detail = db.lastError().text();
        db.rollback();
        return fail(HistoryStore::tr("%1 cannot be written").arg(filePath), detail);
    }
    if (committed)
        committed();
    return true;
}

bool HistoryWriter::writeRecord(Statements &sql, const Item &item)
{
    const auto found = sessions.find(item.session);
    if (found == sessions.end())
        return true;
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
        return fail(HistoryStore::tr("a record cannot be added"), query.lastError().text());
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
                return fail(HistoryStore::tr("a reading cannot be added"), reading.lastError().text());
        }
    } else {
        QSqlQuery &known = sql.findRecord;
        int at = 0;
        for (const QVariant &value : key)
            known.bindValue(at++, value);
        if (!known.exec() || !known.next())
            return fail(HistoryStore::tr("a record cannot be added"), known.lastError().text());
        id = known.value(0).toLongLong();
        known.finish();
    }
    QSqlQuery &link = sql.linkRecord;
    link.bindValue(0, item.session);
    link.bindValue(1, id);
    link.bindValue(2, open.nextPosition++);
    if (!link.exec())
        return fail(HistoryStore::tr("a record cannot be added"), link.lastError().text());
    return true;
}

bool HistoryWriter::writeLive(Statements &sql, const Item &item)
{
    const HistoryStore::LiveReading &r = item.liveReading;
    QSqlQuery &query = sql.insertLive;
    int at = 0;
    // The meter's own number where it is known, not the rounded text's.
    const QVariant power = r.power ? QVariant(*r.power) : powerNumber(r.powerText);
    for (const QVariant &value : {QVariant(item.session), QVariant(utcText(r.arrival)), QVariant(r.arrival.offsetFromUtc()),
                                  optional(r.wavelength), power, optional(r.powerText), optional(r.unit),
                                  optional(r.frequency), optional(r.reference), optional(r.watt)})
        query.bindValue(at++, value);
    if (!query.exec())
        return fail(HistoryStore::tr("a live reading cannot be added"), query.lastError().text());
    return true;
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
    }
    if (first && failed)
        failed();
    return false;
}
