#include "history/historystore.h"
#include "history/historysync.h"
#include "history/historywriter.h"

#include "link/valueformat.h"

#include "link/logging.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "link/realtimeopmvalue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Each step takes the schema one version further; step i leads to version i+1.
// Steps are only ever appended: a released step never changes.
const QList<QStringList> &HistoryStore::migrations()
{
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE sessions ("
                           " id INTEGER PRIMARY KEY,"
                           " kind TEXT NOT NULL,"
                           " meter_model TEXT NOT NULL DEFAULT '',"
                           " meter_version TEXT NOT NULL DEFAULT '',"
                           " meter_kind INTEGER NOT NULL DEFAULT 0,"
                           " range_code INTEGER NOT NULL DEFAULT 0,"
                           " technician TEXT NOT NULL DEFAULT '',"
                           " host TEXT NOT NULL DEFAULT '',"
                           " started_utc TEXT NOT NULL,"
                           " ended_utc TEXT)"),
            // A record is the same record when the same meter gave the same
            // answer for it: downloading it again adds no row.
            QStringLiteral("CREATE TABLE records ("
                           " id INTEGER PRIMARY KEY,"
                           " meter_model TEXT NOT NULL,"
                           " meter_version TEXT NOT NULL,"
                           " meter_kind INTEGER NOT NULL,"
                           " family TEXT NOT NULL,"
                           " number INTEGER NOT NULL,"
                           " name TEXT NOT NULL,"
                           " time_text TEXT NOT NULL,"
                           " time_iso TEXT,"
                           " payload BLOB NOT NULL,"
                           " UNIQUE (meter_model, meter_version, meter_kind, family, number, time_text, name, payload))"),
            QStringLiteral("CREATE TABLE session_records ("
                           " session INTEGER NOT NULL REFERENCES sessions(id),"
                           " record INTEGER NOT NULL REFERENCES records(id),"
                           " position INTEGER NOT NULL,"
                           " PRIMARY KEY (session, record))"),
            QStringLiteral("CREATE TABLE readings ("
                           " record INTEGER NOT NULL REFERENCES records(id),"
                           " idx INTEGER NOT NULL,"
                           " wavelength TEXT, power_dbm REAL, power_text TEXT, unit TEXT,"
                           " reference TEXT, watt TEXT, frequency TEXT, verdict TEXT,"
                           " PRIMARY KEY (record, idx))"),
            QStringLiteral("CREATE TABLE live_readings ("
                           " id INTEGER PRIMARY KEY,"
                           " session INTEGER NOT NULL REFERENCES sessions(id),"
                           " arrival_utc TEXT NOT NULL,"
                           " local_offset_s INTEGER NOT NULL,"
                           " wavelength TEXT, power_dbm REAL, power_text TEXT, unit TEXT, frequency TEXT)"),
            QStringLiteral("CREATE INDEX live_readings_session ON live_readings (session)"),
            // One row per reading, stored and live alike (columns in the README).
            QStringLiteral(
                "CREATE VIEW measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference, d.watt,"
                " d.frequency, d.verdict"
                " FROM session_records sr JOIN sessions s ON s.id = sr.session JOIN records r ON r.id = sr.record"
                " JOIN readings d ON d.record = r.id"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " NULL, NULL, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.id = l.session"),
        },
        {
            // The team server: every session gets an identity of its own that
            // holds on every PC, and each row that reaches the server is
            // marked synced (an ended session is marked again to send its end).
            QStringLiteral("ALTER TABLE sessions ADD COLUMN uid TEXT"),
            QStringLiteral("UPDATE sessions SET uid = lower(hex(randomblob(16)))"),
            QStringLiteral("CREATE UNIQUE INDEX sessions_uid ON sessions (uid)"),
            QStringLiteral("ALTER TABLE sessions ADD COLUMN synced INTEGER NOT NULL DEFAULT 0"),
            QStringLiteral("ALTER TABLE session_records ADD COLUMN synced INTEGER NOT NULL DEFAULT 0"),
            QStringLiteral("ALTER TABLE live_readings ADD COLUMN synced INTEGER NOT NULL DEFAULT 0"),
            QStringLiteral("CREATE INDEX sessions_unsynced ON sessions (synced) WHERE synced = 0"),
            QStringLiteral("CREATE INDEX session_records_unsynced ON session_records (synced) WHERE synced = 0"),
            QStringLiteral("CREATE INDEX live_readings_unsynced ON live_readings (synced) WHERE synced = 0"),
            // The server the synced marks refer to; another one starts over.
            QStringLiteral("CREATE TABLE sync_target (server_uid TEXT NOT NULL)"),
        },
        {
            // A session's records are read in their order without sorting the
            // table (the rowid is the index's own last column: no sort at all).
            QStringLiteral("CREATE INDEX session_records_position ON session_records (session, position)"),
        },
        {
            // A live reading keeps what the meter sent beside its power: the
            // exports of a stored run are those of the run itself.
            QStringLiteral("ALTER TABLE live_readings ADD COLUMN reference TEXT"),
            QStringLiteral("ALTER TABLE live_readings ADD COLUMN watt TEXT"),
            // A record downloaded again is still one measurement: a sum or a
            // mean over `measurements` counts each reading once, under the
            // session that first brought it (the lowest id: ids only grow).
            // `session_measurements` lists every session's readings.
            QStringLiteral("DROP VIEW measurements"),
            QStringLiteral(
                "CREATE VIEW measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference, d.watt,"
                " d.frequency, d.verdict"
                " FROM (SELECT record, MIN(session) AS session FROM session_records GROUP BY record) f"
                " JOIN sessions s ON s.id = f.session JOIN records r ON r.id = f.record"
                " JOIN readings d ON d.record = r.id"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " l.reference, l.watt, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.id = l.session"),
            QStringLiteral(
                "CREATE VIEW session_measurements AS"
                " SELECT s.id AS session_id, s.technician, s.host, r.meter_model, r.meter_version, r.meter_kind,"
                " r.family, r.number AS record_number, r.name, r.time_iso AS time, r.time_text,"
                " d.idx AS reading_index, d.wavelength, d.power_dbm, d.power_text, d.unit, d.reference, d.watt,"
                " d.frequency, d.verdict"
                " FROM session_records sr JOIN sessions s ON s.id = sr.session JOIN records r ON r.id = sr.record"
                " JOIN readings d ON d.record = r.id"
                " UNION ALL"
                " SELECT s.id, s.technician, s.host, s.meter_model, s.meter_version, s.meter_kind,"
                " 'live', NULL, NULL, l.arrival_utc, NULL, l.id, l.wavelength, l.power_dbm, l.power_text, l.unit,"
                " l.reference, l.watt, l.frequency, NULL"
                " FROM live_readings l JOIN sessions s ON s.id = l.session"),
        },
    };
    return steps;
}

namespace {

QString connectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("lumisk-history-%1").arg(next++);
}

// Each folder of `folder` that is missing is made readable by its user
// alone, as the XDG base-directory rules ask; folders already there are
// left as they are.
bool makePrivateFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !makePrivateFolder(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || (errno == EEXIST && QFileInfo(path).isDir());
}

// The history file and the files SQLite keeps beside it, readable by their
// user alone: a new file is made so (SQLite gives its log and shared memory
// the file's own permissions), one already there is tightened.
void makePrivateFile(const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
    for (const char *suffix : {"-wal", "-shm"})
        ::chmod((path + suffix).constData(), 0600);
}


} // namespace

HistoryStore::HistoryStore(const QString &path, QObject *parent)
    : QObject(parent), connection(connectionName())
{
    filePath = !path.isEmpty() ? path
        : qEnvironmentVariableIsEmpty("LUMISK_HISTORY_DB") ? defaultPath()
                                                            : qEnvironmentVariable("LUMISK_HISTORY_DB");
}

HistoryStore::~HistoryStore()
{
    close();
}

QString HistoryStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/lumisk/history.sqlite");
}

bool HistoryStore::isOpen() const
{
    return QSqlDatabase::contains(connection) && QSqlDatabase::database(connection, false).isOpen();
}

bool HistoryStore::open()
{
    openNotice.clear();
    return openFile(true);
}

bool HistoryStore::moveAsideAndOpen()
{
    close();
    const QString aside = filePath + QStringLiteral(".corrupt-")
        + ValueFormat::dateTimeText(QDateTime::currentDateTimeUtc(), QStringLiteral("yyyyMMddTHHmmssZ"));
    if (!QFile::rename(filePath, aside))
        return false;
    QFile::rename(filePath + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(filePath + QStringLiteral("-shm"));
    const QString notice =
        tr("The history file %1 was damaged; it is kept as %2 and history starts afresh.").arg(filePath, aside);
    qCWarning(lcApp).noquote() << notice;
    const bool opened = openFile(false);
    openNotice = notice;
    return opened;
}

bool HistoryStore::openFile(bool mayMoveAside)
{
    close();
    bool notADatabase = false;
    int version = 0;
    error.clear();
    readOnly = false;
    warned = false;
    if (!makePrivateFolder(QFileInfo(filePath).absolutePath())) {
        error = tr("History is off: the folder of %1 cannot be created.").arg(filePath);
        return false;
    }
    makePrivateFile(filePath);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath);
        if (!db.open()) {
            error = tr("History is off: %1 cannot be opened (%2).").arg(filePath, db.lastError().text());
            return false;
        }
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
            // SQLITE_NOTADB: the file is damaged (or something else); it is
            // kept aside and history starts over in a fresh file.
            notADatabase = query.lastError().nativeErrorCode() == QLatin1String("26");
            error = tr("History is off: %1 is no history database (%2).").arg(filePath, query.lastError().text());
            query.finish();
            db.close();
        } else {
            version = query.value(0).toInt();
            query.finish();
        }
    }
    if (!error.isEmpty()) {
        if (!notADatabase || !mayMoveAside)
            return false;
        return moveAsideAndOpen();
    }
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (version > SchemaVersion) {
            // Written by a later Lumisk: look, never touch.
            db.close();
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            readOnly = true;
            error = tr("The history database %1 comes from a newer Lumisk (version %2; this one knows up to %3). "
                       "History is read-only.")
                        .arg(filePath)
                        .arg(version)
                        .arg(SchemaVersion);
            return db.open();
        }
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        if (!migrate(version)) {
            db.close();
            return false;
        }
        // The writer's news reach this object's thread as queued calls;
        // the writer is gone (and its thread ended) before this object is.
        const auto onCommit = [this]() {
            QMetaObject::invokeMethod(this, [this]() { writerCommitted(); }, Qt::QueuedConnection);
        };
        const auto onFailure = [this]() {
            QMetaObject::invokeMethod(this, [this]() { writerFailed(); }, Qt::QueuedConnection);
        };
        const auto onWaiting = [this]() {
            QMetaObject::invokeMethod(
                this,
                [this]() {
                    if (writer)
                        emit waiting(writer->waitingMessage());
                },
                Qt::QueuedConnection);
        };
        writer = std::make_unique<HistoryWriter>(filePath, onCommit, onFailure, onWaiting);
        writer->setWaitNotice(waitNoticeAfter);
        QString why;
        if (!writer->start(&why)) {
            writer.reset();
            error = tr("History is off: %1 cannot be opened (%2).").arg(filePath, why);
            db.close();
            return false;
        }
    }
    return true;
}

bool HistoryStore::migrate(int from)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    const QList<QStringList> &steps = migrations();
    for (int version = from; version < steps.size();) {
        // Another program may open the same file at the same moment: the
        // version is read again under the write lock, and a step it made
        // already is not made twice.
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            error = tr("History is off: %1 cannot be written (%2).").arg(filePath, query.lastError().text());
            return false;
        }
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            version = query.value(0).toInt();
        if (version >= steps.size()) {
            query.finish();
            query.exec(QStringLiteral("COMMIT"));
            break;
        }
        QStringList statements = steps.at(version);
        statements << QStringLiteral("PRAGMA user_version = %1").arg(version + 1);
        for (const QString &statement : statements) {
            if (!query.exec(statement)) {
                error = tr("History is off: %1 cannot be brought up to date (%2).")
                            .arg(filePath, query.lastError().text());
                query.finish();
                query.exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
        query.finish();
        if (!query.exec(QStringLiteral("COMMIT"))) {
            error = tr("History is off: %1 cannot be written (%2).").arg(filePath, query.lastError().text());
            query.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        ++version;
    }
    return true;
}

void HistoryStore::close()
{
    if (writer) {
        flush();
        writer.reset();
    }
    sessions.clear();
    if (!QSqlDatabase::contains(connection))
        return;
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
}

void HistoryStore::fail(const QString &what, const QString &detail)
{
    error = tr("History is read-only from now on: %1 (%2).").arg(what, detail);
    const bool first = !warned;
    if (first)
        qCWarning(lcApp).noquote() << error;
    warned = true;
    readOnly = true;
    sessions.clear();
    if (first)
        emit failed(error);
}

void HistoryStore::writerCommitted()
{
    if (syncer)
        syncer->nudge();
}

void HistoryStore::writerFailed()
{
    // Asked of the writer that is there now: news of one closed since is old.
    HistoryWriter::Failure failure;
    if (writer && writer->hasFailed(&failure))
        fail(failure.what, failure.detail);
}

int HistoryStore::pendingCount() const
{
    return writer ? writer->pending() : 0;
}

bool HistoryStore::settle(std::chrono::milliseconds wait)
{
    HistoryWriter::Failure failure;
    if (writer->flush(&failure, wait) != HistoryWriter::Flushed::Failed)
        return true;
    fail(failure.what, failure.detail);
    return false;
}

qint64 HistoryStore::beginSession(const Session &session)
{
    if (!isOpen() || readOnly || !writer)
        return 0;
    const qint64 handle = writer->beginSession(session);
    if (handle == 0) {
        writerFailed();
        return 0;
    }
    HistoryWriter::Failure failure;
    const qint64 id = writer->waitForSession(handle, SessionWait, &failure);
    if (id == 0 && !failure.what.isEmpty()) {
        fail(failure.what, failure.detail);
        return 0;
    }
    const qint64 shown = id > 0 ? id : handle;
    sessions.insert(shown, handle);
    return shown;
}

void HistoryStore::endSession(qint64 session, Commit commit)
{
    const auto found = sessions.constFind(session);
    if (found == sessions.constEnd())
        return;
    const qint64 handle = found.value();
    sessions.erase(found);
    // The sync hears of the end with the commit that writes it.
    writer->endSession(handle);
    if (commit == Commit::Wait)
        settle(SessionWait);
}

void HistoryStore::addRecord(qint64 session, const Record &record)
{
    const auto found = sessions.constFind(session);
    if (readOnly || found == sessions.constEnd() || record.family.isEmpty())
        return;
    HistoryWriter::Item item;
    item.session = found.value();
    item.record = record;
    writer->add(std::move(item));
}

void HistoryStore::addLiveReading(qint64 session, const LiveReading &reading)
{
    const auto found = sessions.constFind(session);
    if (readOnly || found == sessions.constEnd())
        return;
    HistoryWriter::Item item;
    item.session = found.value();
    item.kind = HistoryWriter::Item::Kind::Live;
    item.liveReading = reading;
    writer->add(std::move(item));
}

bool HistoryStore::flush()
{
    if (readOnly)
        return false;
    if (!writer)
        return true;
    return settle(HistoryWriter::Forever);
}

HistorySync *HistoryStore::startSync(const QString &server)
{
    if (syncer || !isOpen() || readOnly)
        return syncer;
    syncer = new HistorySync(filePath, server, this);
    syncer->start();
    return syncer;
}

HistoryStore::SessionSummary HistoryStore::summaryFromRow(const QSqlQuery &query)
{
    SessionSummary row;
    row.id = query.value(0).toLongLong();
    row.kind = query.value(1).toString();
    row.meterModel = query.value(2).toString();
    row.rangeCode = query.value(3).toInt();
    row.technician = query.value(4).toString();
    row.started = QDateTime::fromString(query.value(5).toString(), Qt::ISODateWithMs).toLocalTime();
    if (!query.isNull(6))
        row.ended = QDateTime::fromString(query.value(6).toString(), Qt::ISODateWithMs).toLocalTime();
    row.host = query.value(7).toString();
    row.count = query.value(8).toInt();
    if (query.record().count() > 10) {
        row.meterVersion = query.value(9).toString();
        row.meterKind = query.value(10).toInt();
    }
    return row;
}

QList<HistoryStore::SessionSummary> HistoryStore::sessionList(const QString &meterModel, const QDate &from,
                                                              const QDate &to)
{
    QList<SessionSummary> list;
    if (!isOpen())
        return list;
    if (writer && !readOnly)
        settle(ReadWait);
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral(
        "SELECT s.id, s.kind, s.meter_model, s.range_code, s.technician, s.started_utc, s.ended_utc, s.host,"
        " CASE WHEN s.kind = 'live' THEN (SELECT COUNT(*) FROM live_readings l WHERE l.session = s.id)"
        " ELSE (SELECT COUNT(*) FROM session_records r WHERE r.session = s.id) END, s.meter_version, s.meter_kind"
        " FROM sessions s WHERE (COALESCE(?, '') = '' OR s.meter_model = ?) ORDER BY s.started_utc DESC, s.id DESC"));
    query.addBindValue(meterModel);
    query.addBindValue(meterModel);
    if (!query.exec())
        return list;
    while (query.next()) {
        const SessionSummary row = summaryFromRow(query);
        const QDate day = row.started.date();
        if ((from.isValid() && day < from) || (to.isValid() && day > to))
            continue;
        list << row;
    }
    return list;
}

QStringList HistoryStore::meterModels()
{
    QStringList models;
    if (!isOpen())
        return models;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    if (query.exec(QStringLiteral("SELECT DISTINCT meter_model FROM sessions ORDER BY meter_model"))) {
        while (query.next())
            models << query.value(0).toString();
    }
    return models;
}

QList<HistoryStore::Record> HistoryStore::sessionRecords(qint64 session)
{
    QList<Record> records;
    if (!isOpen())
        return records;
    if (writer && !readOnly)
        settle(ReadWait);
    // One pass over the records with their readings (a record without
    // readings comes once, with NULLs): a full meter opens without a query
    // per record. The index on (session, position), whose last column is the
    // rowid, gives the rows in this order: nothing is sorted.
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT r.id, r.family, r.number, r.name, r.time_text, r.payload, d.idx,"
                                 " d.wavelength, d.power_text, d.unit, d.reference, d.watt, d.frequency, d.verdict"
                                 " FROM session_records sr JOIN records r ON r.id = sr.record"
                                 " LEFT JOIN readings d ON d.record = r.id"
                                 " WHERE sr.session = ? ORDER BY sr.position, sr.rowid, d.idx"));
    query.addBindValue(session);
    if (!query.exec())
        return records;
    qint64 current = 0;
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        if (records.isEmpty() || id != current) {
            current = id;
            Record record;
            record.family = query.value(1).toString();
            record.number = query.value(2).toString();
            record.name = query.value(3).toString();
            record.time = query.value(4).toString();
            record.payload = query.value(5).toByteArray();
            records << record;
        }
        if (query.isNull(6))
            continue;
        Reading reading{query.value(7).toString(), query.value(8).toString(),  query.value(9).toString(),
                        query.value(10).toString(), query.value(11).toString(), query.value(12).toString(), -1};
        const QString verdict = query.value(13).toString();
        reading.verdict = verdict == QLatin1String("pass")      ? 0
                          : verdict == QLatin1String("warning") ? 1
                          : verdict == QLatin1String("fail")    ? 2
                                                                : -1;
        records.last().readings << reading;
    }
    return records;
}

QList<HistoryStore::LiveReading> HistoryStore::sessionLiveReadings(qint64 session)
{
    QList<LiveReading> readings;
    if (!isOpen())
        return readings;
    if (writer && !readOnly)
        settle(ReadWait);
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral("SELECT arrival_utc, local_offset_s, wavelength, power_text, unit, frequency,"
                                 " reference, watt, power_dbm FROM live_readings WHERE session = ? ORDER BY id"));
    query.addBindValue(session);
    if (!query.exec())
        return readings;
    while (query.next()) {
        LiveReading reading;
        reading.arrival = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs)
                              .toOffsetFromUtc(query.value(1).toInt());
        reading.wavelength = query.value(2).toString();
        reading.powerText = query.value(3).toString();
        reading.unit = query.value(4).toString();
        reading.frequency = query.value(5).toString();
        reading.reference = query.value(6).toString();
        reading.watt = query.value(7).toString();
        if (!query.isNull(8))
            reading.power = query.value(8).toDouble();
        readings << reading;
    }
    return readings;
}

bool HistoryStore::deleteSession(qint64 session, QString *why)
{
    if (!isOpen() || readOnly || !writer)
        return false;
    const QString recording =
        tr("It is still being recorded (here, by lumisk-cli or by another Lumisk); it can be deleted once it has "
           "ended.");
    bool own = sessions.contains(session);
    for (auto it = sessions.constBegin(); !own && it != sessions.constEnd(); ++it)
        own = writer->sessionId(it.value()) == session;
    if (own) {
        if (why)
            *why = recording;
        return false;
    }
    HistoryWriter::Failure failure;
    const HistoryWriter::Removal removal = writer->deleteSession(session, &failure);
    if (!failure.what.isEmpty())
        fail(failure.what, failure.detail);
    if (why && removal == HistoryWriter::Removal::InUse)
        *why = recording;
    if (why && removal == HistoryWriter::Removal::Busy)
        *why = tr("Another program is writing the history; try again in a moment.");
    return removal == HistoryWriter::Removal::Removed;
}

bool HistoryStore::isRecording(qint64 session) const
{
    for (auto it = sessions.constBegin(); it != sessions.constEnd(); ++it) {
        if (it.key() == session || (writer && writer->sessionId(it.value()) == session))
            return true;
    }
    return HistoryWriter::isRecording(filePath, session);
}
