#include "history/historystore.h"
#include "history/historysync.h"
#include "history/historywriter.h"
#include "history/schema.h"

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
#include <QTimeZone>
#include <QVariant>
#include <algorithm>
#include <atomic>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    qCWarning(lcHistory).noquote() << notice;
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
        if (version > Schema::version(Schema::Home::File))
            return openNewer(version);
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        query.finish();
        const Schema::Migration migration = Schema::migrate(db, Schema::Home::File);
        switch (migration.result) {
        case Schema::Migration::Result::Done:
            break;
        case Schema::Migration::Result::Newer:
            // Another program, a later Lumisk, took it further meanwhile.
            return openNewer(migration.found);
        case Schema::Migration::Result::Unwritable:
            error = tr("History is off: %1 cannot be written (%2).").arg(filePath, migration.error.text());
            db.close();
            return false;
        case Schema::Migration::Result::Failed:
            error = tr("History is off: %1 cannot be brought up to date (%2).").arg(filePath, migration.error.text());
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

bool HistoryStore::openNewer(int version)
{
    // Written by a later Lumisk: look, never touch.
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    db.close();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    readOnly = true;
    error = tr("The history database %1 comes from a newer Lumisk (version %2; this one knows up to %3). "
               "History is read-only.")
                .arg(filePath)
                .arg(version)
                .arg(Schema::version(Schema::Home::File));
    return db.open();
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
        qCWarning(lcHistory).noquote() << error;
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

HistoryStore::SummaryReader::SummaryReader(const QSqlQuery &query) : zone(QTimeZone::systemTimeZone())
{
    const Schema::Fields field(query);
    id = field["id"];
    kind = field["kind"];
    meterModel = field["meter_model"];
    meterVersion = field["meter_version"];
    meterKind = field["meter_kind"];
    rangeCode = field["range_code"];
    technician = field["technician"];
    started = field["started_utc"];
    ended = field["ended_utc"];
    host = field["host"];
    count = field["count"];
}

QDateTime HistoryStore::SummaryReader::localTime(const QString &utcText) const
{
    // Through the zone read once: the C library's local time looks at the
    // zone's file again for every time, and a year's list has thousands.
    const QDateTime utc = QDateTime::fromString(utcText, Qt::ISODateWithMs);
    if (!utc.isValid() || !zone.isValid())
        return utc.toLocalTime();
    return utc.toOffsetFromUtc(zone.offsetFromUtc(utc));
}

HistoryStore::SessionSummary HistoryStore::SummaryReader::operator()(const QSqlQuery &query) const
{
    SessionSummary row;
    row.id = query.value(id).toLongLong();
    row.kind = query.value(kind).toString();
    row.meterModel = query.value(meterModel).toString();
    row.rangeCode = query.value(rangeCode).toInt();
    row.technician = query.value(technician).toString();
    row.started = localTime(query.value(started).toString());
    if (!query.isNull(ended))
        row.ended = localTime(query.value(ended).toString());
    row.host = query.value(host).toString();
    row.count = query.value(count).toInt();
    // The server's list leaves these out.
    if (meterVersion >= 0)
        row.meterVersion = query.value(meterVersion).toString();
    if (meterKind >= 0)
        row.meterKind = query.value(meterKind).toInt();
    return row;
}

bool HistoryStore::readable(QString *why)
{
    if (why)
        why->clear();
    if (!isOpen())
        return false;
    if (writer && !readOnly)
        settle(ReadWait);
    return true;
}

bool HistoryStore::readFailed(const QSqlQuery &query, QString *why) const
{
    // A query that failed at exec() or on a later row: the rows read so far
    // are not all there are.
    if (query.lastError().type() == QSqlError::NoError)
        return false;
    const QString message = tr("The history %1 cannot be read (%2).").arg(filePath, query.lastError().text());
    qCWarning(lcHistory).noquote() << message;
    if (why)
        *why = message;
    return true;
}

QList<HistoryStore::SessionSummary> HistoryStore::sessionList(const QString &meterModel, const QDate &from,
                                                              const QDate &to, QString *why)
{
    // Whole days of this PC's clock: from the first day's midnight to the
    // last moment before the day after the last.
    SessionFilter filter;
    filter.meter = meterModel;
    if (from.isValid())
        filter.from = QDateTime(from, QTime(0, 0));
    if (to.isValid())
        filter.to = QDateTime(to.addDays(1), QTime(0, 0)).addMSecs(-1);
    return sessionList(filter, why);
}

QList<HistoryStore::SessionSummary> HistoryStore::sessionList(const SessionFilter &filter, QString *why)
{
    QList<SessionSummary> list;
    if (!readable(why))
        return list;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    const SessionQuery sql = sessionQuery(filter);
    // A statement the file cannot take (a table gone) fails here, with its reason.
    const bool prepared = query.prepare(sql.text);
    for (auto value = sql.values.constBegin(); value != sql.values.constEnd(); ++value)
        query.bindValue(value.key(), value.value());
    if (!prepared || !query.exec()) {
        readFailed(query, why);
        return list;
    }
    const SummaryReader read(query);
    while (query.next())
        list << read(query);
    if (readFailed(query, why))
        list.clear();
    return list;
}

HistoryStore::SessionQuery HistoryStore::sessionQuery(const SessionFilter &filter)
{
    // Only the filter's parts that are set make it into the statement, so
    // that each list comes out of an index; every value is bound.
    SessionQuery sql;
    QStringList where;
    QString from = QStringLiteral("sessions s");
    const QString search = filter.search;
    if (!search.isEmpty()) {
        // The sessions holding a matching record first, then those sessions
        // alone (CROSS JOIN keeps that order). A name holds a text of three
        // characters or more when the text's runs of three follow each other
        // in it; a shorter one when a run of the name begins with it (see
        // the history's schema).
        const int length = search.toUcs4().size();
        const bool plain = std::none_of(search.cbegin(), search.cend(), [](QChar c) { return c.unicode() < 0x20; });
        // Names looked through one by one: those the writer has not indexed
        // yet (the last moments' records), or every one for text with a
        // control character (letter case aside in ASCII only, as SQLite's
        // lower() knows no other).
        QStringList holders{QStringLiteral("SELECT sr.session FROM records r JOIN session_records sr"
                                           " ON sr.record = r.id WHERE instr(lower(r.name), lower(:text)) > 0")
                            + (plain ? QStringLiteral(" AND r.id > (SELECT upto FROM record_names_indexed)")
                                     : QString())};
        sql.values.insert(QStringLiteral(":text"), search);
        if (plain && length >= 3) {
            holders << QStringLiteral("SELECT sr.session FROM record_names n JOIN session_records sr"
                                      " ON sr.record = n.rowid WHERE record_names MATCH :phrase");
            sql.values.insert(QStringLiteral(":phrase"),
                              QString(QLatin1Char('"') + QString(search).replace(QLatin1Char('"'), QLatin1String("\"\""))
                                      + QLatin1Char('"')));
        } else if (plain) {
            holders << QStringLiteral(
                "SELECT sr.session FROM record_names n JOIN session_records sr ON sr.record = n.rowid"
                " WHERE record_names MATCH (SELECT coalesce(group_concat('\"' || replace(term, '\"', '\"\"') || '\"',"
                " ' OR '), '\"\"') FROM record_name_trigrams WHERE term >= :first AND term <= :last)");
            // The runs are kept in lower case; every run that begins with
            // the text lies between the text and the text followed by the
            // highest characters there are.
            const QString folded = search.toLower();
            const QString highest = QString::fromUcs4(U"\U0010FFFF\U0010FFFF");
            sql.values.insert(QStringLiteral(":first"), folded);
            sql.values.insert(QStringLiteral(":last"), folded + highest);
        }
        // A number as the meter numbers records: digits, no leading zero.
        bool isNumber = false;
        const qlonglong number = search.toLongLong(&isNumber);
        if (isNumber && QString::number(number) == search) {
            holders << QStringLiteral("SELECT sr.session FROM records r JOIN session_records sr ON sr.record = r.id"
                                      " WHERE r.number = :number");
            sql.values.insert(QStringLiteral(":number"), number);
        }
        from = QStringLiteral("(SELECT DISTINCT session FROM (%1)) m CROSS JOIN sessions s ON s.id = m.session")
                   .arg(holders.join(QLatin1String(" UNION ALL ")));
    }
    // Starts are kept as UTC text of one width: compared as text, in order.
    if (!filter.meter.isEmpty()) {
        where << QStringLiteral("s.meter_model = :meter");
        sql.values.insert(QStringLiteral(":meter"), filter.meter);
    }
    if (filter.from.isValid()) {
        where << QStringLiteral("s.started_utc >= :from");
        sql.values.insert(QStringLiteral(":from"), filter.from.toUTC().toString(Qt::ISODateWithMs));
    }
    if (filter.to.isValid()) {
        where << QStringLiteral("s.started_utc <= :to");
        sql.values.insert(QStringLiteral(":to"), filter.to.toUTC().toString(Qt::ISODateWithMs));
    }
    if (filter.unfinished)
        where << QStringLiteral("s.ended_utc IS NULL");
    if (filter.session != 0) {
        where << QStringLiteral("s.id = :session");
        sql.values.insert(QStringLiteral(":session"), filter.session);
    }
    sql.values.insert(QStringLiteral(":live"), History::familyOf(PageType::Chart));
    sql.text = QStringLiteral(
        "SELECT s.id AS id, s.kind AS kind, s.meter_model AS meter_model, s.range_code AS range_code,"
        " s.technician AS technician, s.started_utc AS started_utc, s.ended_utc AS ended_utc, s.host AS host,"
        " CASE WHEN s.kind = :live THEN (SELECT COUNT(*) FROM live_readings l WHERE l.session = s.id)"
        " ELSE (SELECT COUNT(*) FROM session_records r WHERE r.session = s.id) END AS count,"
        " s.meter_version AS meter_version, s.meter_kind AS meter_kind FROM %1")
                   .arg(from);
    if (!where.isEmpty())
        sql.text += QStringLiteral(" WHERE ") + where.join(QLatin1String(" AND "));
    sql.text += QStringLiteral(" ORDER BY s.started_utc DESC, s.id DESC");
    if (filter.limit > 0) {
        sql.text += QStringLiteral(" LIMIT :limit");
        sql.values.insert(QStringLiteral(":limit"), filter.limit);
    }
    return sql;
}

QStringList HistoryStore::meterModels(QString *why)
{
    QStringList models;
    if (!readable(why))
        return models;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT DISTINCT meter_model FROM sessions ORDER BY meter_model"))) {
        while (query.next())
            models << query.value(0).toString();
    }
    if (readFailed(query, why))
        models.clear();
    return models;
}

QList<HistoryStore::Record> HistoryStore::sessionRecords(qint64 session, QString *why)
{
    QList<Record> records;
    if (!readable(why))
        return records;
    // One pass over the records with their readings (a record without
    // readings comes once, with NULLs): a full meter opens without a query
    // per record. The index on (session, position), whose last column is the
    // rowid, gives the rows in this order: nothing is sorted.
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    // A statement the file cannot take (a table gone) fails here, with its reason.
    const bool prepared = query.prepare(
        QStringLiteral("SELECT r.id AS id, r.family AS family, r.number AS number, r.name AS name,"
                       " r.time_text AS time_text, r.payload AS payload, d.idx AS idx,"
                       " d.wavelength AS wavelength, d.power_text AS power_text, d.unit AS unit,"
                       " d.reference AS reference, d.watt AS watt, d.frequency AS frequency,"
                       " d.verdict AS verdict"
                       " FROM session_records sr JOIN records r ON r.id = sr.record"
                       " LEFT JOIN readings d ON d.record = r.id"
                       " WHERE sr.session = ? ORDER BY sr.position, sr.rowid, d.idx"));
    query.addBindValue(session);
    if (!prepared || !query.exec()) {
        readFailed(query, why);
        return records;
    }
    const Schema::Fields field(query);
    const int id = field["id"], family = field["family"], number = field["number"], name = field["name"],
              time = field["time_text"], payload = field["payload"], idx = field["idx"],
              wavelength = field["wavelength"], powerText = field["power_text"], unit = field["unit"],
              reference = field["reference"], watt = field["watt"], frequency = field["frequency"],
              verdict = field["verdict"];
    qint64 current = 0;
    while (query.next()) {
        const qint64 recordId = query.value(id).toLongLong();
        if (records.isEmpty() || recordId != current) {
            current = recordId;
            Record record;
            record.family = query.value(family).toString();
            record.number = query.value(number).toString();
            record.name = query.value(name).toString();
            record.time = query.value(time).toString();
            record.payload = query.value(payload).toByteArray();
            records << record;
        }
        if (query.isNull(idx))
            continue;
        records.last().readings << Reading{query.value(wavelength).toString(),
                                           query.value(powerText).toString(),
                                           query.value(unit).toString(),
                                           query.value(reference).toString(),
                                           query.value(watt).toString(),
                                           query.value(frequency).toString(),
                                           History::verdictOf(query.value(verdict).toString())};
    }
    if (readFailed(query, why))
        records.clear();
    return records;
}

QList<HistoryStore::LiveReading> HistoryStore::sessionLiveReadings(qint64 session, QString *why)
{
    QList<LiveReading> readings;
    if (!readable(why))
        return readings;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    // A statement the file cannot take (a table gone) fails here, with its reason.
    const bool prepared = query.prepare(
        QStringLiteral("SELECT arrival_utc, local_offset_s, wavelength, power_text, unit, frequency,"
                       " reference, watt, power_dbm FROM live_readings WHERE session = ? ORDER BY id"));
    query.addBindValue(session);
    if (!prepared || !query.exec()) {
        readFailed(query, why);
        return readings;
    }
    const Schema::Fields field(query);
    const int arrival = field["arrival_utc"], offset = field["local_offset_s"], wavelength = field["wavelength"],
              powerText = field["power_text"], unit = field["unit"], frequency = field["frequency"],
              reference = field["reference"], watt = field["watt"], power = field["power_dbm"];
    while (query.next()) {
        LiveReading reading;
        reading.arrival = QDateTime::fromString(query.value(arrival).toString(), Qt::ISODateWithMs)
                              .toOffsetFromUtc(query.value(offset).toInt());
        reading.wavelength = query.value(wavelength).toString();
        reading.powerText = query.value(powerText).toString();
        reading.unit = query.value(unit).toString();
        reading.frequency = query.value(frequency).toString();
        reading.reference = query.value(reference).toString();
        reading.watt = query.value(watt).toString();
        if (!query.isNull(power))
            reading.power = query.value(power).toDouble();
        readings << reading;
    }
    if (readFailed(query, why))
        readings.clear();
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
