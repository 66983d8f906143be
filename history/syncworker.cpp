#include "history/syncworker.h"

#include "history/historysync.h"
#include "history/serveraddress.h"
#include "history/serverguard.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>
#include <atomic>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace {

// Every Lumisk that migrates the server takes this lock first, so two PCs
// starting at once do not both create the tables.
constexpr qint64 MigrationLock = 0x4c756d69736b; // "Lumisk"

QString nextName(const char *prefix)
{
    static std::atomic<int> next{0};
    return QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(next++);
}

// The first line of an error, without Qt's driver suffix.
QString errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text.section(QLatin1Char('\n'), 0, 0);
}

// A record's key on the server: the same on every PC for the same meter,
// family, number, name, time and answer (what makes it the same record in
// the file). Each part goes in with its length, so no two records share it;
// the first 128 bits of its SHA-256, as a uuid.
QString recordKey(const QSqlQuery &row, int first)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    auto add = [&hash](const QByteArray &part) {
        const quint32 size = quint32(part.size());
        const char length[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        hash.addData(length, 4);
        hash.addData(part);
    };
    // meter_model, meter_version, meter_kind, family, number, name, time_text, payload
    for (int i = 0; i < 7; ++i)
        add(row.value(first + i).toString().toUtf8());
    add(row.value(first + 7).toByteArray());
    return QUuid::fromRfc4122(hash.result().left(16)).toString(QUuid::WithoutBraces);
}

// One column of a batch as a PostgreSQL array in its text form ("{…}"),
// bound as one value: the server reads a few long arrays far faster than
// thousands of rows. The elements are quoted as the array syntax asks (a
// backslash before a quote or a backslash); a NUL cannot be in a
// PostgreSQL text and is left out.
struct ArrayColumn {
    QString items;
    int count = 0;
    void next()
    {
        if (count++)
            items += QLatin1Char(',');
    }
    void text(const QVariant &value)
    {
        next();
        if (value.isNull()) {
            items += QLatin1String("NULL");
            return;
        }
        QString element = value.toString();
        element.remove(QChar(0));
        element.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        element.replace(QLatin1Char('"'), QLatin1String("\\\""));
        items += QLatin1Char('"') + element + QLatin1Char('"');
    }
    void integer(const QVariant &value)
    {
        next();
        items += value.isNull() ? QStringLiteral("NULL") : QString::number(value.toLongLong());
    }
    void real(const QVariant &value)
    {
        next();
        const double number = value.toDouble();
        items += value.isNull()          ? QStringLiteral("NULL")
                 : std::isnan(number)    ? QStringLiteral("NaN")
                 : std::isinf(number)    ? (number > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity"))
                                         : QString::number(number, 'g', 17);
    }
    QString value() const { return QLatin1Char('{') + items + QLatin1Char('}'); }
};

// The columns of one table's rows in a batch, each an array of its type.
struct Columns {
    explicit Columns(std::initializer_list<const char *> types) : types(types), columns(types.size()) {}
    int rows() const { return columns.empty() ? 0 : columns.front().count; }
    ArrayColumn &operator[](int i) { return columns[size_t(i)]; }
    // "unnest(?::uuid[], ?::text[], …)" for the FROM of an INSERT … SELECT:
    // a placeholder per column, nothing of the values.
    QString unnest() const
    {
        QStringList arrays;
        for (const char *type : types)
            arrays << QStringLiteral("?::%1[]").arg(QLatin1String(type));
        return QStringLiteral("unnest(%1)").arg(arrays.join(QLatin1Char(',')));
    }
    void bindTo(QSqlQuery &query) const
    {
        for (const ArrayColumn &column : columns)
            query.addBindValue(column.value());
    }
    std::vector<const char *> types;
    std::vector<ArrayColumn> columns;
};

} // namespace

const QList<QStringList> &SyncWorker::serverMigrations()
{
    // Only ever appended, like the file's steps. The same tables as the file,
    // keyed by what holds on every PC: a session's uid, a record's key. No
    // foreign keys: a check per row would cost more than the insert, and a
    // batch always brings a record and its session before what refers to them.
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE sessions ("
                           " id bigserial PRIMARY KEY,"
                           " uid uuid NOT NULL UNIQUE,"
                           " kind text NOT NULL,"
                           " meter_model text NOT NULL DEFAULT '',"
                           " meter_version text NOT NULL DEFAULT '',"
                           " meter_kind integer NOT NULL DEFAULT 0,"
                           " range_code integer NOT NULL DEFAULT 0,"
                           " technician text NOT NULL DEFAULT '',"
                           " host text NOT NULL DEFAULT '',"
                           " started_utc text NOT NULL,"
                           " ended_utc text)"),
            QStringLiteral("CREATE TABLE records ("
                           " key uuid PRIMARY KEY,"
                           " meter_model text NOT NULL,"
                           " meter_version text NOT NULL,"
                           " meter_kind integer NOT NULL,"
                           " family text NOT NULL,"
                           " number integer NOT NULL,"
                           " name text NOT NULL,"
                           " time_text text NOT NULL,"
                           " time_iso text,"
                           " payload bytea NOT NULL)"),
            QStringLiteral("CREATE TABLE session_records ("
                           " session_uid uuid NOT NULL,"
                           " record_key uuid NOT NULL,"
                           " position integer NOT NULL,"
                           " PRIMARY KEY (session_uid, record_key))"),
            QStringLiteral("CREATE TABLE readings ("
                           " record_key uuid NOT NULL,"
                           " idx integer NOT NULL,"
                           " wavelength text, power_dbm double precision, power_text text, unit text,"
                           " reference text, watt text, frequency text, verdict text,"
                           " PRIMARY KEY (record_key, idx))"),
            QStringLiteral("CREATE TABLE live_readings ("
                           " id bigserial PRIMARY KEY,"
                           " session_uid uuid NOT NULL,"
                           " seq bigint NOT NULL,"
                           " arrival_utc text NOT NULL,"
                           " local_offset_s integer NOT NULL,"
                           " wavelength text, power_dbm double precision, power_text text, unit text, frequency text,"
                           " UNIQUE (session_uid, seq))"),
            // The same columns as the file's view (see the README).
            QStringLiteral(
                "CREATE VIEW measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx::bigint AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference,"
                " d.watt, d.frequency, d.verdict"
                " FROM session_records sr JOIN sessions s ON s.uid = sr.session_uid"
                " JOIN records r ON r.key = sr.record_key JOIN readings d ON d.record_key = r.key"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " NULL, NULL, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.uid = l.session_uid"),
        },
        {
            // As in the file: live readings keep the meter's reference and
            // watts, `measurements` counts each stored reading once (under
            // the session that began first; two PCs' downloads of the same
            // records are one record here) and `session_measurements` lists
            // every session's readings.
            QStringLiteral("ALTER TABLE live_readings ADD COLUMN reference text, ADD COLUMN watt text"),
            QStringLiteral("DROP VIEW measurements"),
            QStringLiteral(
                "CREATE VIEW measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx::bigint AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference,"
                " d.watt, d.frequency, d.verdict"
                " FROM (SELECT DISTINCT ON (sr.record_key) sr.record_key, o.id AS session"
                " FROM session_records sr JOIN sessions o ON o.uid = sr.session_uid"
                " ORDER BY sr.record_key, o.started_utc, o.id) f"
                " JOIN sessions s ON s.id = f.session JOIN records r ON r.key = f.record_key"
                " JOIN readings d ON d.record_key = r.key"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " l.reference, l.watt, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.uid = l.session_uid"),
            QStringLiteral(
                "CREATE VIEW session_measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx::bigint AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference,"
                " d.watt, d.frequency, d.verdict"
                " FROM session_records sr JOIN sessions s ON s.uid = sr.session_uid"
                " JOIN records r ON r.key = sr.record_key JOIN readings d ON d.record_key = r.key"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " l.reference, l.watt, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.uid = l.session_uid"),
        },
    };
    return steps;
}

SyncWorker::SyncWorker(const Options &given, std::shared_ptr<ServerGuard> guard)
    : options(given)
    , guard(std::move(guard))
    , localConnection(nextName("lumisk-sync-file"))
    , serverConnection(nextName("lumisk-sync-server"))
    , timer(this)
    , retryMs(given.firstRetryMs)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &SyncWorker::step);
}

SyncWorker::~SyncWorker()
{
    // stop() has closed both in the worker's thread, which has ended.
    local = QSqlDatabase();
    server = QSqlDatabase();
    for (const QString &name : {localConnection, serverConnection}) {
        if (QSqlDatabase::contains(name))
            QSqlDatabase::removeDatabase(name);
    }
}

void SyncWorker::start()
{
    stopped = false;
    emit stateChanged(HistorySync::Connecting, 0, QString());
    schedule(Next::Batch, 0);
}

void SyncWorker::stop()
{
    stopped = true;
    timer.stop();
    guard->unwatch();
    server.close();
    local.close();
    thread()->quit();
}

void SyncWorker::schedule(Next what, int delayMs)
{
    next = what;
    timer.start(delayMs);
}

void SyncWorker::nudge()
{
    if (stopped || guard->stopping())
        return;
    switch (next) {
    case Next::Retry:
        // The server is away: only the number of waiting rows moves.
        emit stateChanged(HistorySync::Unreachable, countWaiting(), lastError);
        break;
    case Next::Idle:
    case Next::Nothing:
        schedule(Next::Gather, GatherMs);
        break;
    case Next::Batch:
    case Next::Gather:
        break;
    }
}

bool SyncWorker::openLocal()
{
    if (local.isOpen())
        return true;
    if (!local.isValid())
        local = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), localConnection);
    local.setDatabaseName(options.localPath);
    if (!local.open()) {
        lastError = tr("the history file cannot be read (%1)").arg(errorText(local.lastError()));
        return false;
    }
    QSqlQuery query(local);
    // A mark lost to a power cut only sends its rows again.
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()
        || query.value(0).toInt() != HistoryStore::SchemaVersion) {
        lastError = tr("the history file is not of this Lumisk's version");
        query.finish();
        local.close();
        return false;
    }
    return true;
}

bool SyncWorker::openServer()
{
    closeServer();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        lastError = tr("Qt's PostgreSQL driver is missing (package libqt5sql5-psql)");
        return false;
    }
    const ServerAddress address = ServerAddress::parse(options.server);
    if (!address.error.isEmpty()) {
        lastError = tr("the server setting cannot be read: %1").arg(address.error);
        return false;
    }
    if (!server.isValid())
        server = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), serverConnection);
    address.applyTo(server);
    // The one wait nothing can break off: libpq gives up after connect_timeout.
    const bool opened = server.open();
    if (guard->stopping())
        return false;
    if (!opened) {
        lastError = errorText(server.lastError());
        return false;
    }
    guard->watch(ServerGuard::socketOf(server));
    QString serverUid;
    {
        ServerGuard::Call call(*guard, options.answerLimitMs);
        QSqlQuery settings(server);
        const QStringList statements = address.sessionSettings() << QStringLiteral("SET client_min_messages TO warning");
        for (const QString &statement : statements) {
            if (!settings.exec(statement)) {
                lastError = serverError(errorText(settings.lastError()));
                return false;
            }
        }
        settings.finish();
        if (!migrateServer(&serverUid)) {
            lastError = serverError(lastError);
            return false;
        }
    }
    serverReady = adoptServer(serverUid);
    return serverReady;
}

void SyncWorker::closeServer()
{
    serverReady = false;
    guard->unwatch();
    server.close();
}

bool SyncWorker::migrateServer(QString *serverUid)
{
    QSqlQuery query(server);
    auto fail = [&](const QSqlError &error) {
        lastError = tr("the server's tables cannot be made (%1)").arg(errorText(error));
        query.finish();
        server.rollback();
        return false;
    };
    if (!server.transaction())
        return fail(server.lastError());
    // Waits under the server's lock_timeout like any lock.
    query.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
    query.addBindValue(MigrationLock);
    if (!query.exec())
        return fail(query.lastError());
    if (!query.exec(QStringLiteral("SELECT to_regclass('lumisk_schema') IS NOT NULL")) || !query.next())
        return fail(query.lastError());
    if (!query.value(0).toBool()) {
        if (!query.exec(QStringLiteral("CREATE TABLE lumisk_schema (version integer NOT NULL, server_uid text NOT NULL)")))
            return fail(query.lastError());
        query.prepare(QStringLiteral("INSERT INTO lumisk_schema VALUES (0, ?)"));
        query.addBindValue(QUuid::createUuid().toString(QUuid::Id128));
        if (!query.exec())
            return fail(query.lastError());
    }
    if (!query.exec(QStringLiteral("SELECT version, server_uid FROM lumisk_schema")) || !query.next())
        return fail(query.lastError());
    const int version = query.value(0).toInt();
    *serverUid = query.value(1).toString();
    const QList<QStringList> &steps = serverMigrations();
    if (version > steps.size()) {
        // Made by a later Lumisk: leave it as it is.
        query.finish();
        server.rollback();
        lastError = tr("the server's history comes from a newer Lumisk (version %1; this one knows up to %2)")
                        .arg(version)
                        .arg(steps.size());
        return false;
    }
    for (int step = version; step < steps.size(); ++step) {
        for (const QString &statement : steps.at(step)) {
            if (!query.exec(statement))
                return fail(query.lastError());
        }
    }
    if (version < steps.size()) {
        query.prepare(QStringLiteral("UPDATE lumisk_schema SET version = ?"));
        query.addBindValue(steps.size());
        if (!query.exec())
            return fail(query.lastError());
    }
    query.finish();
    if (!server.commit())
        return fail(server.lastError());
    return true;
}

bool SyncWorker::adoptServer(const QString &serverUid)
{
    if (!openLocal())
        return false;
    QSqlQuery query(local);
    if (query.exec(QStringLiteral("SELECT server_uid FROM sync_target")) && query.next()
        && query.value(0).toString() == serverUid)
        return true;
    query.finish();
    auto cannotWrite = [this](const QSqlError &error) {
        lastError = tr("the history file cannot be written (%1)").arg(errorText(error));
        local.rollback();
        return false;
    };
    // Another server (or the same one made afresh): whatever was marked sent
    // went elsewhere, so everything goes again. In short statements, each
    // committed on its own, so that the window or lumisk-cli writing the same
    // file waits for one of them at most; the new server is named only once
    // every mark is reset, so a crash or a stop in between names none and the
    // next start resets them all again.
    if (!query.exec(QStringLiteral("DELETE FROM sync_target")))
        return cannotWrite(query.lastError());
    for (const char *table : {"sessions", "session_records", "live_readings"}) {
        if (!query.exec(QStringLiteral("SELECT COALESCE(MAX(rowid), 0) FROM %1").arg(QLatin1String(table)))
            || !query.next())
            return cannotWrite(query.lastError());
        const qint64 last = query.value(0).toLongLong();
        query.finish();
        QSqlQuery reset(local);
        reset.prepare(QStringLiteral("UPDATE %1 SET synced = 0 WHERE rowid > ? AND rowid <= ? AND synced <> 0")
                          .arg(QLatin1String(table)));
        for (qint64 after = 0; after < last; after += AdoptRows) {
            if (guard->stopping())
                return false;
            reset.addBindValue(after);
            reset.addBindValue(after + AdoptRows);
            if (!reset.exec())
                return cannotWrite(reset.lastError());
        }
    }
    if (!local.transaction())
        return cannotWrite(local.lastError());
    if (!query.exec(QStringLiteral("DELETE FROM sync_target")))
        return cannotWrite(query.lastError());
    query.prepare(QStringLiteral("INSERT INTO sync_target (server_uid) VALUES (?)"));
    query.addBindValue(serverUid);
    if (!query.exec())
        return cannotWrite(query.lastError());
    query.finish();
    if (!local.commit())
        return cannotWrite(local.lastError());
    return true;
}

int SyncWorker::countWaiting(Count count)
{
    if (!openLocal())
        return 0;
    QSqlQuery query(local);
    const QString sql = count == Count::Unsent
        ? QStringLiteral("SELECT (SELECT COUNT(*) FROM sessions WHERE synced = 0)"
                         " + (SELECT COUNT(*) FROM session_records WHERE synced = 0)"
                         " + (SELECT COUNT(*) FROM live_readings WHERE synced = 0)")
        : QStringLiteral("SELECT (SELECT COUNT(*) FROM sessions WHERE synced = 0)"
                         " + (SELECT COUNT(*) FROM session_records sr JOIN sessions s ON s.id = sr.session"
                         " JOIN records r ON r.id = sr.record WHERE sr.synced = 0)"
                         " + (SELECT COUNT(*) FROM live_readings l JOIN sessions s ON s.id = l.session"
                         " WHERE l.synced = 0)");
    if (!query.exec(sql) || !query.next())
        return 0;
    return query.value(0).toInt();
}

void SyncWorker::failed(const QString &why)
{
    closeServer();
    if (guard->stopping())
        return;
    lastError = why;
    emit stateChanged(HistorySync::Unreachable, countWaiting(), lastError);
    schedule(Next::Retry, retryMs);
    retryMs = qMin(retryMs * 2, options.longestRetryMs);
}

QString SyncWorker::serverError(const QString &error) const
{
    return guard->expired() ? tr("the server did not answer within %n s", nullptr, (options.answerLimitMs + 999) / 1000)
                            : error;
}

void SyncWorker::step()
{
    next = Next::Nothing;
    if (stopped || guard->stopping())
        return;
    if (!openLocal() || (!serverReady && !openServer())) {
        failed(lastError);
        return;
    }
    const int before = countWaiting(Count::Unsent);
    if (before > 0) {
        ServerGuard::Call call(*guard, options.answerLimitMs);
        if (!pushBatch()) {
            failed(serverError(lastError));
            return;
        }
    }
    if (guard->stopping())
        return;
    retryMs = options.firstRetryMs;
    int waiting = countWaiting(Count::Unsent);
    // Nothing went: what is left may be rows that can never be sent.
    if (waiting > 0 && waiting >= before)
        waiting = countWaiting(Count::Sendable);
    emit stateChanged(waiting > 0 ? HistorySync::Waiting : HistorySync::Synced, waiting, QString());
    // One batch per turn of the thread's loop, so a listing or a stop gets in
    // between batches.
    if (waiting > 0)
        schedule(Next::Batch, 0);
    else
        schedule(Next::Idle, IdlePollMs);
}

bool SyncWorker::pushBatch()
{
    QSqlDatabase local = QSqlDatabase::database(localConnection, false);
    QSqlDatabase server = QSqlDatabase::database(serverConnection, false);
    auto localFailed = [&](const QSqlError &error) {
        lastError = tr("the history file cannot be read (%1)").arg(errorText(error));
        local.rollback();
        return false;
    };

    // One snapshot of the file: every link read has its session read or sent.
    if (!local.transaction())
        return localFailed(local.lastError());
    // uid, kind, meter_model, meter_version, meter_kind, range_code, technician, host, started_utc, ended_utc
    Columns sessions{"uuid", "text", "text", "text", "int4", "int4", "text", "text", "text", "text"};
    std::vector<std::pair<qint64, QVariant>> sessionMarks; // id, ended_utc as sent
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT id, uid, kind, meter_model, meter_version, meter_kind, range_code,"
                                       " technician, host, started_utc, ended_utc FROM sessions WHERE synced = 0")))
            return localFailed(query.lastError());
        while (query.next()) {
            for (int i = 1; i <= 10; ++i) {
                // meter_kind and range_code are numbers, the rest texts.
                if (i == 5 || i == 6)
                    sessions[i - 1].integer(query.value(i));
                else
                    sessions[i - 1].text(query.value(i));
            }
            sessionMarks.emplace_back(query.value(0).toLongLong(), query.value(10));
        }
    }

    // key, meter_model, meter_version, meter_kind, family, number, name, time_text, time_iso, payload (hex)
    Columns records{"uuid", "text", "text", "int4", "text", "int4", "text", "text", "text", "text"};
    Columns links{"uuid", "uuid", "int4"};
    Columns readings{"uuid", "int4", "text", "float8", "text", "text", "text", "text", "text", "text"};
    std::vector<std::pair<qint64, QString>> linkMarks; // rowid, the session's uid
    std::unordered_map<qint64, QString> keys; // record id → key
    {
        // The links of this batch (only those whose session and record are
        // there, as they are counted), each with its record's readings.
        QSqlQuery query(local);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral(
            "SELECT b.link, s.uid, b.position, r.id, r.meter_model, r.meter_version, r.meter_kind, r.family,"
            " r.number, r.name, r.time_text, r.payload, r.time_iso, d.idx, d.wavelength, d.power_dbm, d.power_text,"
            " d.unit, d.reference, d.watt, d.frequency, d.verdict"
            " FROM (SELECT sr.rowid AS link, sr.session, sr.record, sr.position FROM session_records sr"
            " JOIN sessions s ON s.id = sr.session JOIN records r ON r.id = sr.record WHERE sr.synced = 0"
            " LIMIT ?) b"
            " JOIN sessions s ON s.id = b.session JOIN records r ON r.id = b.record"
            " LEFT JOIN readings d ON d.record = r.id ORDER BY b.link, d.idx"));
        query.addBindValue(options.batchRows);
        if (!query.exec())
            return localFailed(query.lastError());
        qint64 link = 0;
        bool takeReadings = false; // the link's record is new to this batch
        QString key;
        while (query.next()) {
            if (linkMarks.empty() || query.value(0).toLongLong() != link) {
                link = query.value(0).toLongLong();
                const qint64 record = query.value(3).toLongLong();
                auto known = keys.find(record);
                takeReadings = known == keys.end();
                if (takeReadings) {
                    known = keys.emplace(record, recordKey(query, 4)).first;
                    records[0].text(known->second);
                    records[1].text(query.value(4));
                    records[2].text(query.value(5));
                    records[3].integer(query.value(6));
                    records[4].text(query.value(7));
                    records[5].integer(query.value(8));
                    records[6].text(query.value(9));
                    records[7].text(query.value(10));
                    records[8].text(query.value(12));
                    records[9].text(QString::fromLatin1(query.value(11).toByteArray().toHex()));
                }
                key = known->second;
                links[0].text(query.value(1));
                links[1].text(key);
                links[2].integer(query.value(2));
                linkMarks.emplace_back(link, query.value(1).toString());
            }
            if (!takeReadings || query.isNull(13))
                continue;
            readings[0].text(key);
            readings[1].integer(query.value(13));
            readings[2].text(query.value(14));
            readings[3].real(query.value(15));
            for (int i = 4; i <= 9; ++i)
                readings[i].text(query.value(i + 12));
        }
    }

    // session's uid, seq, arrival_utc, local_offset_s, wavelength, power_dbm, power_text, unit, frequency,
    // reference, watt
    Columns live{"uuid", "int8", "text", "int4", "text", "float8", "text", "text", "text", "text", "text"};
    std::vector<std::pair<qint64, QString>> liveMarks; // id, the session's uid
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT l.id, s.uid, l.arrival_utc, l.local_offset_s, l.wavelength, l.power_dbm,"
                                     " l.power_text, l.unit, l.frequency, l.reference, l.watt FROM live_readings l"
                                     " JOIN sessions s ON s.id = l.session WHERE l.synced = 0 LIMIT ?"));
        query.addBindValue(options.batchRows);
        if (!query.exec())
            return localFailed(query.lastError());
        while (query.next()) {
            live[0].text(query.value(1));
            live[1].integer(query.value(0));
            live[2].text(query.value(2));
            live[3].integer(query.value(3));
            live[4].text(query.value(4));
            live[5].real(query.value(5));
            for (int i = 6; i <= 10; ++i)
                live[i].text(query.value(i));
            liveMarks.emplace_back(query.value(0).toLongLong(), query.value(1).toString());
        }
    }
    local.commit();

    // The server takes the batch whole or not at all; what it already holds
    // (sent before a reply was lost, or by another PC) is skipped. Each
    // table's rows go as one array per column.
    std::vector<std::pair<QString, const Columns *>> inserts;
    if (sessions.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO sessions (uid, kind, meter_model, meter_version, meter_kind,"
                                            " range_code, technician, host, started_utc, ended_utc) SELECT * FROM %1"
                                            " ON CONFLICT (uid) DO UPDATE SET ended_utc = EXCLUDED.ended_utc"
                                            " WHERE sessions.ended_utc IS NULL AND EXCLUDED.ended_utc IS NOT NULL")
                                 .arg(sessions.unnest()),
                             &sessions);
    if (records.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO records (key, meter_model, meter_version, meter_kind, family,"
                                            " number, name, time_text, time_iso, payload) SELECT k, mm, mv, mk, f, n,"
                                            " nm, tt, ti, decode(p, 'hex') FROM %1 AS t (k, mm, mv, mk, f, n, nm, tt,"
                                            " ti, p) ON CONFLICT DO NOTHING")
                                 .arg(records.unnest()),
                             &records);
    if (readings.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO readings (record_key, idx, wavelength, power_dbm, power_text,"
                                            " unit, reference, watt, frequency, verdict) SELECT * FROM %1"
                                            " ON CONFLICT DO NOTHING")
                                 .arg(readings.unnest()),
                             &readings);
    if (links.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO session_records (session_uid, record_key, position)"
                                            " SELECT * FROM %1 ON CONFLICT DO NOTHING")
                                 .arg(links.unnest()),
                             &links);
    if (live.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO live_readings (session_uid, seq, arrival_utc, local_offset_s,"
                                            " wavelength, power_dbm, power_text, unit, frequency, reference, watt)"
                                            " SELECT * FROM %1 ON CONFLICT DO NOTHING")
                                 .arg(live.unnest()),
                             &live);
    if (inserts.empty())
        return true;
    if (!server.transaction()) {
        lastError = errorText(server.lastError());
        return false;
    }
    for (const auto &insert : inserts) {
        QSqlQuery query(server);
        query.prepare(insert.first);
        insert.second->bindTo(query);
        if (!query.exec()) {
            lastError = errorText(query.lastError());
            query.finish();
            // A server gone away has taken the transaction with it.
            if (server.isOpen())
                server.rollback();
            return false;
        }
    }
    if (!server.commit()) {
        lastError = errorText(server.lastError());
        if (server.isOpen())
            server.rollback();
        return false;
    }

    // Marked sent only now. Should marking fail, the rows go again, and the
    // server skips them.
    if (!local.transaction())
        return localFailed(local.lastError());
    QSqlQuery mark(local);
    mark.prepare(QStringLiteral("UPDATE sessions SET synced = 1 WHERE id = ? AND ended_utc IS ?"));
    for (const auto &session : sessionMarks) {
        // A session that ended meanwhile stays unsent, to send its end.
        mark.addBindValue(session.first);
        mark.addBindValue(session.second);
        if (!mark.exec())
            return localFailed(mark.lastError());
    }
    // Row numbers come back after a deletion: a row only counts as sent while
    // it still belongs to the session it was sent with.
    const auto markRows = [&](const QString &sql, const std::vector<std::pair<qint64, QString>> &rows) {
        if (rows.empty())
            return true;
        mark.prepare(sql);
        for (const auto &row : rows) {
            mark.addBindValue(row.first);
            mark.addBindValue(row.second);
            if (!mark.exec())
                return false;
        }
        return true;
    };
    if (!markRows(QStringLiteral("UPDATE session_records SET synced = 1 WHERE rowid = ?"
                                 " AND session = (SELECT id FROM sessions WHERE uid = ?)"),
                  linkMarks)
        || !markRows(QStringLiteral("UPDATE live_readings SET synced = 1 WHERE id = ?"
                                    " AND session = (SELECT id FROM sessions WHERE uid = ?)"),
                     liveMarks))
        return localFailed(mark.lastError());
    mark.finish();
    if (!local.commit())
        return localFailed(local.lastError());
    return true;
}

void SyncWorker::listSessions()
{
    QList<HistoryStore::SessionSummary> list;
    if (stopped || guard->stopping())
        return;
    if (!serverReady && !openServer()) {
        if (!guard->stopping())
            emit sessionsListed(list, lastError);
        return;
    }
    ServerGuard::Call call(*guard, options.answerLimitMs);
    QSqlQuery query(server);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT s.id, s.kind, s.meter_model, s.range_code, s.technician, s.started_utc, s.ended_utc, s.host,"
            " CASE WHEN s.kind = 'live' THEN (SELECT COUNT(*) FROM live_readings l WHERE l.session_uid = s.uid)"
            " ELSE (SELECT COUNT(*) FROM session_records r WHERE r.session_uid = s.uid) END"
            " FROM sessions s ORDER BY s.started_utc DESC, s.id DESC"))) {
        const QString error = serverError(errorText(query.lastError()));
        query.finish();
        closeServer();
        if (!guard->stopping())
            emit sessionsListed(list, error);
        return;
    }
    while (query.next()) {
        list << HistoryStore::summaryFromRow(query);
    }
    emit sessionsListed(list, QString());
}
