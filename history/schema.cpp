#include "history/schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace Schema {

namespace {

// The file: each step takes it one version further.
const QList<QStringList> &fileSteps()
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
        {
            // A year of a team's history is thousands of sessions and a
            // million records: the session list, filtered by meter and by
            // day, comes newest first out of an index, and a record is
            // found by its number or any part of its name without reading
            // every record.
            QStringLiteral("CREATE INDEX sessions_started ON sessions (started_utc)"),
            QStringLiteral("CREATE INDEX sessions_meter_started ON sessions (meter_model, started_utc)"),
            // Sessions cut off (or being recorded): the start looks for them.
            QStringLiteral("CREATE INDEX sessions_unfinished ON sessions (started_utc) WHERE ended_utc IS NULL"),
            QStringLiteral("CREATE INDEX session_records_record ON session_records (record)"),
            QStringLiteral("CREATE INDEX records_number ON records (number)"),
            // Every run of three characters of every name, case aside (the
            // names themselves stay in `records` alone). Each name is indexed
            // with two U+001F after it, so that every one or two characters
            // of it also begin a run: a short text is found through the runs
            // that begin with it (`record_name_trigrams`, in order).
            //
            // The records up to `record_names_indexed.upto` are in the index,
            // the later ones not yet: the writer indexes them in its idle
            // time, so that indexing never slows a download's commits (nor
            // this step, on a file of a year's records), and a search looks
            // through the few records after `upto` itself. A record at or
            // below `upto` (an id used again) is indexed as it comes.
            QStringLiteral("CREATE VIEW record_name_texts AS SELECT id, name || char(31, 31) AS name FROM records"),
            QStringLiteral("CREATE VIRTUAL TABLE record_names USING fts5(name, content='record_name_texts',"
                           " content_rowid='id', tokenize='trigram case_sensitive 0')"),
            QStringLiteral("CREATE VIRTUAL TABLE record_name_trigrams USING fts5vocab(record_names, row)"),
            QStringLiteral("CREATE TABLE record_names_indexed (upto INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO record_names_indexed (upto) VALUES (0)"),
            QStringLiteral("CREATE TRIGGER record_names_added AFTER INSERT ON records"
                           " WHEN new.id <= (SELECT upto FROM record_names_indexed) BEGIN"
                           " INSERT INTO record_names (rowid, name) VALUES (new.id, new.name || char(31, 31)); END"),
            QStringLiteral("CREATE TRIGGER record_names_removed AFTER DELETE ON records"
                           " WHEN old.id <= (SELECT upto FROM record_names_indexed) BEGIN"
                           " INSERT INTO record_names (record_names, rowid, name)"
                           " VALUES ('delete', old.id, old.name || char(31, 31)); END"),
            QStringLiteral("CREATE TRIGGER record_names_changed AFTER UPDATE OF name ON records"
                           " WHEN old.id <= (SELECT upto FROM record_names_indexed) BEGIN"
                           " INSERT INTO record_names (record_names, rowid, name)"
                           " VALUES ('delete', old.id, old.name || char(31, 31));"
                           " INSERT INTO record_names (rowid, name) VALUES (new.id, new.name || char(31, 31)); END"),
        },
    };
    return steps;
}

// The team server, grown in step with the file.
const QList<QStringList> &serverSteps()
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

// Every Lumisk that migrates the server takes this lock first, so two PCs
// starting at once do not both create the tables.
constexpr qint64 MigrationLock = 0x4c756d69736b; // "Lumisk"

// A step's transaction under the home's lock: the file's write lock taken at
// once, the server's advisory lock (which waits under its lock_timeout like
// any lock).
bool begin(QSqlDatabase &db, QSqlQuery &query, Home home, QSqlError *error)
{
    if (home == Home::File) {
        if (query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return true;
        *error = query.lastError();
        return false;
    }
    if (!db.transaction()) {
        *error = db.lastError();
        return false;
    }
    query.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
    query.addBindValue(MigrationLock);
    if (query.exec())
        return true;
    *error = query.lastError();
    return false;
}

// The version as the home keeps it; the server's table of it is made (with
// the name the server gives itself) the first time.
bool readVersion(QSqlQuery &query, Home home, int *version)
{
    if (home == Home::File) {
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return false;
        *version = query.value(0).toInt();
        return true;
    }
    if (!query.exec(QStringLiteral("SELECT to_regclass('lumisk_schema') IS NOT NULL")) || !query.next())
        return false;
    if (!query.value(0).toBool()) {
        if (!query.exec(QStringLiteral("CREATE TABLE lumisk_schema (version integer NOT NULL, server_uid text NOT NULL)")))
            return false;
        query.prepare(QStringLiteral("INSERT INTO lumisk_schema VALUES (0, ?)"));
        query.addBindValue(QUuid::createUuid().toString(QUuid::Id128));
        if (!query.exec())
            return false;
    }
    if (!query.exec(QStringLiteral("SELECT version FROM lumisk_schema")) || !query.next())
        return false;
    *version = query.value(0).toInt();
    return true;
}

bool writeVersion(QSqlQuery &query, Home home, int version)
{
    if (home == Home::File)
        return query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
    query.prepare(QStringLiteral("UPDATE lumisk_schema SET version = ?"));
    query.addBindValue(version);
    return query.exec();
}

} // namespace

const QList<QStringList> &steps(Home home)
{
    return home == Home::File ? fileSteps() : serverSteps();
}

int version(Home home)
{
    return int(steps(home).size());
}

Migration migrate(QSqlDatabase &db, Home home)
{
    const QList<QStringList> &all = steps(home);
    Migration migration;
    QSqlQuery query(db);
    const auto undo = [&](Migration::Result result, const QSqlError &error) {
        query.finish();
        if (db.isOpen())
            db.rollback();
        migration.result = result;
        migration.error = error;
        return migration;
    };
    for (;;) {
        QSqlError error;
        if (!begin(db, query, home, &error))
            return undo(Migration::Result::Unwritable, error);
        if (!readVersion(query, home, &migration.found))
            return undo(Migration::Result::Failed, query.lastError());
        if (migration.found > all.size())
            return undo(Migration::Result::Newer, QSqlError());
        if (migration.found == all.size()) {
            query.finish();
            db.commit();
            return migration;
        }
        for (const QString &statement : all.at(migration.found)) {
            if (!query.exec(statement))
                return undo(Migration::Result::Failed, query.lastError());
        }
        if (!writeVersion(query, home, migration.found + 1))
            return undo(Migration::Result::Failed, query.lastError());
        query.finish();
        if (!db.commit())
            return undo(Migration::Result::Unwritable, db.lastError());
    }
}

Fields::Fields(const QSqlQuery &query) : record(query.record())
{
}

} // namespace Schema
