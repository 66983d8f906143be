#include "history/syncworker.h"

#include "history/historysync.h"
#include "history/schema.h"
#include "history/serveraddress.h"
#include "history/serverguard.h"
#include "link/logging.h"

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
// `identity`: the places of meter_model, meter_version, meter_kind, family,
// number, name and time_text; `answer`: the payload.
QString recordKey(const QSqlQuery &row, const std::vector<int> &identity, const QByteArray &answer)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    auto add = [&hash](const QByteArray &part) {
        const quint32 size = quint32(part.size());
        const char length[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        hash.addData(length, 4);
        hash.addData(part);
    };
    for (int column : identity)
        add(row.value(column).toString().toUtf8());
    add(answer);
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
    // A row: a value per column, in the columns' order.
    void add(const QVariantList &row)
    {
        for (size_t i = 0; i < columns.size(); ++i)
            addValue(i, row.value(int(i)));
    }
    // A row of a query: the value at each of `places`, in the columns' order.
    void add(const QSqlQuery &query, const std::vector<int> &places)
    {
        for (size_t i = 0; i < columns.size(); ++i)
            addValue(i, query.value(places.at(i)));
    }
    void addValue(size_t i, const QVariant &value)
    {
        const QLatin1String type(types.at(i));
        if (type == QLatin1String("int4") || type == QLatin1String("int8"))
            columns[i].integer(value);
        else if (type == QLatin1String("float8"))
            columns[i].real(value);
        else
            columns[i].text(value);
    }
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

// The places of the named columns, in that order.
std::vector<int> places(const Schema::Fields &field, std::initializer_list<const char *> names)
{
    std::vector<int> list;
    for (const char *name : names)
        list.push_back(field[name]);
    return list;
}

} // namespace

// One batch: what the server lacks, read from the file in one snapshot, as
// each table's rows in arrays of their columns (in the server's order), and
// the rows to mark sent once the server has committed them.
struct SyncWorker::Batch {
    // uid, kind, meter_model, meter_version, meter_kind, range_code, technician, host, started_utc, ended_utc
    Columns sessions{"uuid", "text", "text", "text", "int4", "int4", "text", "text", "text", "text"};
    // key, meter_model, meter_version, meter_kind, family, number, name, time_text, time_iso, payload (hex)
    Columns records{"uuid", "text", "text", "int4", "text", "int4", "text", "text", "text", "text"};
    // the session's uid, the record's key, position
    Columns links{"uuid", "uuid", "int4"};
    // record_key, idx, wavelength, power_dbm, power_text, unit, reference, watt, frequency, verdict
    Columns readings{"uuid", "int4", "text", "float8", "text", "text", "text", "text", "text", "text"};
    // the session's uid, seq, arrival_utc, local_offset_s, wavelength, power_dbm, power_text, unit, frequency,
    // reference, watt
    Columns live{"uuid", "int8", "text", "int4", "text", "float8", "text", "text", "text", "text", "text"};
    std::vector<std::pair<qint64, QVariant>> sessionMarks; // id, ended_utc as sent
    std::vector<std::pair<qint64, QString>> linkMarks;     // rowid, the session's uid
    std::vector<std::pair<qint64, QString>> liveMarks;     // id, the session's uid

    bool empty() const { return sessions.rows() == 0 && links.rows() == 0 && live.rows() == 0; }
};

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
    case Next::Again:
        emit stateChanged(HistorySync::Waiting, countWaiting(), lastError);
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
        || query.value(0).toInt() != Schema::version(Schema::Home::File)) {
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
    const Schema::Migration migration = Schema::migrate(server, Schema::Home::Server);
    if (migration.result == Schema::Migration::Result::Newer) {
        // Made by a later Lumisk: left as it is.
        lastError = tr("the server's history comes from a newer Lumisk (version %1; this one knows up to %2)")
                        .arg(migration.found)
                        .arg(Schema::version(Schema::Home::Server));
        return false;
    }
    if (migration.result != Schema::Migration::Result::Done) {
        lastError = tr("the server's tables cannot be made (%1)").arg(errorText(migration.error));
        return false;
    }
    QSqlQuery query(server);
    if (!query.exec(QStringLiteral("SELECT server_uid FROM lumisk_schema")) || !query.next()) {
        lastError = tr("the server's tables cannot be made (%1)").arg(errorText(query.lastError()));
        return false;
    }
    *serverUid = query.value(0).toString();
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

void SyncWorker::fileFailed()
{
    if (guard->stopping())
        return;
    // The server has what it took; its rows stay unsent in the file and go
    // again (the server skips them) once the file lets the sync read and mark.
    qCWarning(lcHistory).noquote() << tr("The team server's sync waits: %1").arg(lastError);
    emit stateChanged(HistorySync::Waiting, countWaiting(), lastError);
    schedule(Next::Again, retryMs);
    retryMs = qMin(retryMs * 2, options.longestRetryMs);
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
    marked = 0;
    if (before > 0) {
        ServerGuard::Call call(*guard, options.answerLimitMs);
        switch (pushBatch()) {
        case Pushed::Done:
            break;
        case Pushed::ServerFailed:
            failed(serverError(lastError));
            return;
        case Pushed::FileFailed:
            fileFailed();
            return;
        }
    }
    if (guard->stopping())
        return;
    retryMs = options.firstRetryMs;
    // What the batch marked sent is off the count (a year's history is not
    // counted again after every batch); rows written meanwhile are counted
    // at the next turn.
    int waiting = qMax(0, before - marked);
    // Nothing went: what is left may be rows that can never be sent.
    if (waiting > 0 && marked == 0)
        waiting = countWaiting(Count::Sendable);
    emit stateChanged(waiting > 0 ? HistorySync::Waiting : HistorySync::Synced, waiting, QString());
    // One batch per turn of the thread's loop, so a listing or a stop gets in
    // between batches.
    if (waiting > 0)
        schedule(Next::Batch, 0);
    else
        schedule(Next::Idle, IdlePollMs);
}

SyncWorker::Pushed SyncWorker::pushBatch()
{
    marked = 0;
    Batch batch;
    if (!readBatch(&batch))
        return Pushed::FileFailed;
    if (batch.empty())
        return Pushed::Done;
    if (!sendBatch(batch))
        return Pushed::ServerFailed;
    return markSent(batch) ? Pushed::Done : Pushed::FileFailed;
}

bool SyncWorker::readBatch(Batch *batch)
{
    auto cannotRead = [this](const QSqlError &error) {
        lastError = tr("the history file cannot be read (%1)").arg(errorText(error));
        local.rollback();
        return false;
    };

    // One snapshot of the file: every link read has its session read or sent.
    if (!local.transaction())
        return cannotRead(local.lastError());
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT id, uid, kind, meter_model, meter_version, meter_kind, range_code,"
                                       " technician, host, started_utc, ended_utc FROM sessions WHERE synced = 0")))
            return cannotRead(query.lastError());
        const Schema::Fields field(query);
        const int id = field["id"], ended = field["ended_utc"];
        const std::vector<int> sent = places(field, {"uid", "kind", "meter_model", "meter_version", "meter_kind",
                                                     "range_code", "technician", "host", "started_utc", "ended_utc"});
        while (query.next()) {
            batch->sessions.add(query, sent);
            batch->sessionMarks.emplace_back(query.value(id).toLongLong(), query.value(ended));
        }
        if (query.lastError().isValid())
            return cannotRead(query.lastError());
    }
    {
        // The links of this batch (only those whose session and record are
        // there, as they are counted), each with its record's readings.
        QSqlQuery query(local);
        query.setForwardOnly(true);
        const bool prepared = query.prepare(QStringLiteral(
            "SELECT b.link AS link, s.uid AS session_uid, b.position AS position, r.id AS record,"
            " r.meter_model AS meter_model, r.meter_version AS meter_version, r.meter_kind AS meter_kind,"
            " r.family AS family, r.number AS number, r.name AS name, r.time_text AS time_text,"
            " r.payload AS payload, r.time_iso AS time_iso, d.idx AS idx, d.wavelength AS wavelength,"
            " d.power_dbm AS power_dbm, d.power_text AS power_text, d.unit AS unit, d.reference AS reference,"
            " d.watt AS watt, d.frequency AS frequency, d.verdict AS verdict"
            " FROM (SELECT sr.rowid AS link, sr.session, sr.record, sr.position FROM session_records sr"
            " JOIN sessions s ON s.id = sr.session JOIN records r ON r.id = sr.record WHERE sr.synced = 0"
            " LIMIT ?) b"
            " JOIN sessions s ON s.id = b.session JOIN records r ON r.id = b.record"
            " LEFT JOIN readings d ON d.record = r.id ORDER BY b.link, d.idx"));
        query.addBindValue(options.batchRows);
        if (!prepared || !query.exec())
            return cannotRead(query.lastError());
        const Schema::Fields field(query);
        const int linkAt = field["link"], sessionUid = field["session_uid"], position = field["position"],
                  recordAt = field["record"], payload = field["payload"], idx = field["idx"];
        // What makes a record the same record, in the order its key takes them.
        const std::vector<int> identity =
            places(field, {"meter_model", "meter_version", "meter_kind", "family", "number", "name", "time_text"});
        const std::vector<int> recordColumns = places(
            field, {"meter_model", "meter_version", "meter_kind", "family", "number", "name", "time_text", "time_iso"});
        const std::vector<int> readingColumns = places(
            field, {"wavelength", "power_dbm", "power_text", "unit", "reference", "watt", "frequency", "verdict"});
        std::unordered_map<qint64, QString> keys; // record id → key
        qint64 link = 0;
        bool takeReadings = false; // the link's record is new to this batch
        QString key;
        while (query.next()) {
            if (batch->linkMarks.empty() || query.value(linkAt).toLongLong() != link) {
                link = query.value(linkAt).toLongLong();
                const qint64 record = query.value(recordAt).toLongLong();
                auto known = keys.find(record);
                takeReadings = known == keys.end();
                if (takeReadings) {
                    const QByteArray answer = query.value(payload).toByteArray();
                    known = keys.emplace(record, recordKey(query, identity, answer)).first;
                    QVariantList row{known->second};
                    for (int column : recordColumns)
                        row << query.value(column);
                    row << QString::fromLatin1(answer.toHex());
                    batch->records.add(row);
                }
                key = known->second;
                batch->links.add({query.value(sessionUid), key, query.value(position)});
                batch->linkMarks.emplace_back(link, query.value(sessionUid).toString());
            }
            if (!takeReadings || query.isNull(idx))
                continue;
            QVariantList row{key, query.value(idx)};
            for (int column : readingColumns)
                row << query.value(column);
            batch->readings.add(row);
        }
        if (query.lastError().isValid())
            return cannotRead(query.lastError());
    }
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        const bool prepared = query.prepare(
            QStringLiteral("SELECT l.id AS id, s.uid AS session_uid, l.arrival_utc AS arrival_utc,"
                           " l.local_offset_s AS local_offset_s, l.wavelength AS wavelength,"
                           " l.power_dbm AS power_dbm, l.power_text AS power_text, l.unit AS unit,"
                           " l.frequency AS frequency, l.reference AS reference, l.watt AS watt"
                           " FROM live_readings l JOIN sessions s ON s.id = l.session"
                           " WHERE l.synced = 0 LIMIT ?"));
        query.addBindValue(options.batchRows);
        if (!prepared || !query.exec())
            return cannotRead(query.lastError());
        const Schema::Fields field(query);
        const int id = field["id"], sessionUid = field["session_uid"];
        // The server's seq is the file's id.
        const std::vector<int> sent =
            places(field, {"session_uid", "id", "arrival_utc", "local_offset_s", "wavelength", "power_dbm",
                           "power_text", "unit", "frequency", "reference", "watt"});
        while (query.next()) {
            batch->live.add(query, sent);
            batch->liveMarks.emplace_back(query.value(id).toLongLong(), query.value(sessionUid).toString());
        }
        if (query.lastError().isValid())
            return cannotRead(query.lastError());
    }
    if (!local.commit())
        return cannotRead(local.lastError());
    return true;
}

bool SyncWorker::sendBatch(const Batch &batch)
{
    // The server takes the batch whole or not at all; what it already holds
    // (sent before a reply was lost, or by another PC) is skipped. Each
    // table's rows go as one array per column.
    std::vector<std::pair<QString, const Columns *>> inserts;
    if (batch.sessions.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO sessions (uid, kind, meter_model, meter_version, meter_kind,"
                                            " range_code, technician, host, started_utc, ended_utc) SELECT * FROM %1"
                                            " ON CONFLICT (uid) DO UPDATE SET ended_utc = EXCLUDED.ended_utc"
                                            " WHERE sessions.ended_utc IS NULL AND EXCLUDED.ended_utc IS NOT NULL")
                                 .arg(batch.sessions.unnest()),
                             &batch.sessions);
    if (batch.records.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO records (key, meter_model, meter_version, meter_kind, family,"
                                            " number, name, time_text, time_iso, payload) SELECT k, mm, mv, mk, f, n,"
                                            " nm, tt, ti, decode(p, 'hex') FROM %1 AS t (k, mm, mv, mk, f, n, nm, tt,"
                                            " ti, p) ON CONFLICT DO NOTHING")
                                 .arg(batch.records.unnest()),
                             &batch.records);
    if (batch.readings.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO readings (record_key, idx, wavelength, power_dbm, power_text,"
                                            " unit, reference, watt, frequency, verdict) SELECT * FROM %1"
                                            " ON CONFLICT DO NOTHING")
                                 .arg(batch.readings.unnest()),
                             &batch.readings);
    if (batch.links.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO session_records (session_uid, record_key, position)"
                                            " SELECT * FROM %1 ON CONFLICT DO NOTHING")
                                 .arg(batch.links.unnest()),
                             &batch.links);
    if (batch.live.rows() > 0)
        inserts.emplace_back(QStringLiteral("INSERT INTO live_readings (session_uid, seq, arrival_utc, local_offset_s,"
                                            " wavelength, power_dbm, power_text, unit, frequency, reference, watt)"
                                            " SELECT * FROM %1 ON CONFLICT DO NOTHING")
                                 .arg(batch.live.unnest()),
                             &batch.live);
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
    return true;
}

bool SyncWorker::markSent(const Batch &batch)
{
    auto cannotWrite = [this](const QSqlError &error) {
        lastError = tr("the history file cannot be written (%1)").arg(errorText(error));
        local.rollback();
        return false;
    };
    // The write lock first, waited for as long as SQLite's busy timeout
    // allows while another program writes the file.
    QSqlQuery mark(local);
    if (!mark.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return cannotWrite(mark.lastError());
    int changed = 0;
    mark.prepare(QStringLiteral("UPDATE sessions SET synced = 1 WHERE id = ? AND ended_utc IS ?"));
    for (const auto &session : batch.sessionMarks) {
        // A session that ended meanwhile stays unsent, to send its end.
        mark.addBindValue(session.first);
        mark.addBindValue(session.second);
        if (!mark.exec())
            return cannotWrite(mark.lastError());
        changed += mark.numRowsAffected();
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
            changed += mark.numRowsAffected();
        }
        return true;
    };
    if (!markRows(QStringLiteral("UPDATE session_records SET synced = 1 WHERE rowid = ?"
                                 " AND session = (SELECT id FROM sessions WHERE uid = ?)"),
                  batch.linkMarks)
        || !markRows(QStringLiteral("UPDATE live_readings SET synced = 1 WHERE id = ?"
                                    " AND session = (SELECT id FROM sessions WHERE uid = ?)"),
                     batch.liveMarks))
        return cannotWrite(mark.lastError());
    mark.finish();
    if (!local.commit())
        return cannotWrite(local.lastError());
    marked = changed;
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
    query.prepare(QStringLiteral(
        "SELECT s.id AS id, s.kind AS kind, s.meter_model AS meter_model, s.range_code AS range_code,"
        " s.technician AS technician, s.started_utc AS started_utc, s.ended_utc AS ended_utc, s.host AS host,"
        " CASE WHEN s.kind = ? THEN (SELECT COUNT(*) FROM live_readings l WHERE l.session_uid = s.uid)"
        " ELSE (SELECT COUNT(*) FROM session_records r WHERE r.session_uid = s.uid) END AS count"
        " FROM sessions s ORDER BY s.started_utc DESC, s.id DESC"));
    query.addBindValue(History::familyOf(PageType::Chart));
    if (query.exec()) {
        const HistoryStore::SummaryReader read(query);
        while (query.next())
            list << read(query);
    }
    // A list cut short is no list.
    if (query.lastError().type() != QSqlError::NoError) {
        const QString error = serverError(errorText(query.lastError()));
        query.finish();
        closeServer();
        if (!guard->stopping())
            emit sessionsListed({}, error);
        return;
    }
    emit sessionsListed(list, QString());
}
