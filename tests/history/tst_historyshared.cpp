// The history file as other programs share it: a write lock held by another
// connection costs no row (and is said once), a session another store is
// recording cannot be deleted under it, every commit reaches the disk, and
// the files are private to their user.

#include "historytestdata.h"
#include "testregistry.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

using historytest::meter;
using historytest::scalar;

HistoryStore::Record single(int number)
{
    return historytest::decoded(QStringLiteral("single"), [] { return new OpmValueFrame(nullptr); },
                                records::generatedSingle(number));
}

QStringList numbers(const QList<HistoryStore::Record> &records)
{
    QStringList list;
    for (const HistoryStore::Record &record : records)
        list << record.number;
    return list;
}

// Another program's connection to the file (a connection of its own is all
// SQLite tells apart).
class OtherProgram
{
public:
    explicit OtherProgram(const QString &file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        db.setDatabaseName(file);
        db.open();
    }
    ~OtherProgram()
    {
        QSqlDatabase::database(name(), false).close();
        QSqlDatabase::removeDatabase(name());
    }
    bool exec(const QString &sql) { return QSqlQuery(QSqlDatabase::database(name(), false)).exec(sql); }

private:
    static QString name() { return QStringLiteral("other-program"); }
};

// Counts the syncs of the write-ahead logs SQLite writes in this process:
// a layer over SQLite's default file system layer, the default while it lives.
class WalSyncs
{
public:
    WalSyncs()
    {
        base = sqlite3_vfs_find(nullptr);
        layer = *base;
        layer.zName = "lumisk-test-wal-syncs";
        layer.szOsFile = int(sizeof(File)) + base->szOsFile;
        layer.pAppData = base;
        layer.xOpen = &open;
        sqlite3_vfs_register(&layer, 1);
        count = 0;
    }
    ~WalSyncs()
    {
        sqlite3_vfs_register(base, 1);
        sqlite3_vfs_unregister(&layer);
    }
    int syncs() const { return count; }

private:
    struct File {
        sqlite3_file file;
        sqlite3_file *real;
        bool wal;
    };
    static sqlite3_file *real(sqlite3_file *file) { return reinterpret_cast<File *>(file)->real; }

    static int open(sqlite3_vfs *vfs, const char *name, sqlite3_file *file, int flags, int *outFlags)
    {
        auto *wrapped = reinterpret_cast<File *>(file);
        wrapped->real = reinterpret_cast<sqlite3_file *>(wrapped + 1);
        wrapped->wal = flags & SQLITE_OPEN_WAL;
        auto *under = static_cast<sqlite3_vfs *>(vfs->pAppData);
        const int rc = under->xOpen(under, name, wrapped->real, flags, outFlags);
        file->pMethods = wrapped->real->pMethods ? &methods : nullptr;
        return rc;
    }

    static const sqlite3_io_methods methods;
    static std::atomic<int> count;
    sqlite3_vfs *base = nullptr;
    sqlite3_vfs layer = {};
};

std::atomic<int> WalSyncs::count{0};

const sqlite3_io_methods WalSyncs::methods = {
    3,
    [](sqlite3_file *f) { return real(f)->pMethods->xClose(real(f)); },
    [](sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); },
    [](sqlite3_file *f, const void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xWrite(real(f), b, n, o); },
    [](sqlite3_file *f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); },
    [](sqlite3_file *f, int flags) {
        if (reinterpret_cast<File *>(f)->wal)
            ++count;
        return real(f)->pMethods->xSync(real(f), flags);
    },
    [](sqlite3_file *f, sqlite3_int64 *size) { return real(f)->pMethods->xFileSize(real(f), size); },
    [](sqlite3_file *f, int lock) { return real(f)->pMethods->xLock(real(f), lock); },
    [](sqlite3_file *f, int lock) { return real(f)->pMethods->xUnlock(real(f), lock); },
    [](sqlite3_file *f, int *out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); },
    [](sqlite3_file *f, int op, void *arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); },
    [](sqlite3_file *f) { return real(f)->pMethods->xSectorSize(real(f)); },
    [](sqlite3_file *f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); },
    [](sqlite3_file *f, int region, int size, int extend, void volatile **out) {
        return real(f)->pMethods->xShmMap(real(f), region, size, extend, out);
    },
    [](sqlite3_file *f, int offset, int n, int flags) { return real(f)->pMethods->xShmLock(real(f), offset, n, flags); },
    [](sqlite3_file *f) { real(f)->pMethods->xShmBarrier(real(f)); },
    [](sqlite3_file *f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); },
    [](sqlite3_file *f, sqlite3_int64 o, int n, void **p) { return real(f)->pMethods->xFetch(real(f), o, n, p); },
    [](sqlite3_file *f, sqlite3_int64 o, void *p) { return real(f)->pMethods->xUnfetch(real(f), o, p); },
};

int modeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

} // namespace

class TestHistoryShared : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file;

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        file = dir.filePath(QStringLiteral("%1-%2.sqlite")
                                .arg(QTest::currentTestFunction(), QTest::currentDataTag() ? QTest::currentDataTag() : ""));
    }

    // Another program holds the write lock: the rows of a session begun
    // before, and a whole session begun and ended meanwhile, stay queued
    // and land in order once it lets go; the wait is said once, nothing fails.
    void heldFileLosesNothing()
    {
        HistoryStore store(file);
        store.setWaitNotice(std::chrono::milliseconds(300));
        QVERIFY(store.open());
        QSignalSpy waited(&store, &HistoryStore::waiting);
        QSignalSpy failed(&store, &HistoryStore::failed);
        const qint64 before = store.beginSession(meter(QStringLiteral("single")));
        store.addRecord(before, single(1));
        QVERIFY(store.flush());

        OtherProgram other(file);
        QVERIFY(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("waits for another program")));
        for (int number = 2; number <= 4; ++number)
            store.addRecord(before, single(number));
        const qint64 during = store.beginSession(meter(QStringLiteral("live")));
        QVERIFY(during != 0);
        const QDateTime arrival = QDateTime::currentDateTime();
        for (int i = 0; i < 3; ++i)
            store.addLiveReading(during, {arrival.addSecs(i), QStringLiteral("1550"), QString::number(i),
                                          QStringLiteral("dBm"), QString()});
        store.endSession(during);
        QTRY_COMPARE(waited.count(), 1);
        QCOMPARE(store.pendingCount(), 6);
        QVERIFY(other.exec(QStringLiteral("COMMIT")));

        QVERIFY(store.flush());
        store.endSession(before);
        QCOMPARE(numbers(store.sessionRecords(before)), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(scalar(file, QStringLiteral("SELECT MAX(position) FROM session_records")), 3);
        const QList<HistoryStore::SessionSummary> sessions = store.sessionList();
        QCOMPARE(sessions.size(), 2);
        for (const HistoryStore::SessionSummary &session : sessions) {
            QVERIFY(session.ended.isValid());
            QCOMPARE(session.count, session.kind == QLatin1String("live") ? 3 : 4);
        }
        QCOMPARE(failed.count(), 0);
        QCOMPARE(waited.count(), 1);
        QVERIFY(!store.isReadOnly());
    }

    // A session is deleted only once no store records it any more (ended, or
    // its writer gone as with a killed program); refused, the writer goes on
    // and keeps what it records afterwards.
    void recordedSessionIsNotDeleted_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("deletable");
        QTest::newRow("recorded by another store") << "other" << false;
        QTest::newRow("recorded by this store") << "this" << false;
        QTest::newRow("ended") << "ended" << true;
        QTest::newRow("writer gone") << "gone" << true;
    }
    void recordedSessionIsNotDeleted()
    {
        QFETCH(QString, state);
        QFETCH(bool, deletable);
        HistoryStore recorder(file);
        HistoryStore other(file);
        QVERIFY(recorder.open());
        QVERIFY(other.open());
        const qint64 session = recorder.beginSession(meter(QStringLiteral("single")));
        recorder.addRecord(session, single(1));
        QVERIFY(recorder.flush());
        if (state == QLatin1String("ended"))
            recorder.endSession(session);
        if (state == QLatin1String("gone"))
            recorder.close();
        HistoryStore &deleter = state == QLatin1String("this") ? recorder : other;
        QCOMPARE(deleter.isRecording(session), !deletable);
        QString why;
        QCOMPARE(deleter.deleteSession(session, &why), deletable);
        QCOMPARE(why.isEmpty(), deletable);
        if (deletable) {
            QCOMPARE(other.sessionList().size(), 0);
            return;
        }
        recorder.addRecord(session, single(2));
        recorder.endSession(session);
        QVERIFY(!recorder.isReadOnly());
        QCOMPARE(numbers(other.sessionRecords(session)), (QStringList{"1", "2"}));
        QVERIFY(!other.isRecording(session));
    }

    // Every commit of the writer's timer syncs the log: what was committed
    // survives a power cut, not only a killed process.
    void commitReachesTheDisk()
    {
        WalSyncs walSyncs;
        HistoryStore store(file);
        QVERIFY(store.open());
        const qint64 session = store.beginSession(meter(QStringLiteral("single")));
        const int before = walSyncs.syncs();
        for (int number = 1; number <= 3; ++number) {
            store.addRecord(session, single(number));
            QTRY_COMPARE(store.pendingCount(), 0);
        }
        QVERIFY2(walSyncs.syncs() - before >= 3, qPrintable(QString::number(walSyncs.syncs() - before)));
    }

    // Folders the history makes are 0700, its files 0600; a file that was
    // readable by others is tightened.
    void filesArePrivate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::newRow("new folders") << "made/here/history.sqlite" << false;
        QTest::newRow("file already there") << "shared.sqlite" << true;
    }
    void filesArePrivate()
    {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        struct Umask {
            mode_t kept;
            ~Umask() { ::umask(kept); }
        } const restore{::umask(022)};
        const QString path = dir.filePath(name);
        if (existing) {
            QFile plain(path);
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.close();
            QCOMPARE(modeOf(path), 0644);
        }
        {
            HistoryStore store(path);
            QVERIFY(store.open());
            const qint64 session = store.beginSession(meter(QStringLiteral("single")));
            store.addRecord(session, single(1));
            QVERIFY(store.flush());
            for (const char *suffix : {"", "-wal", "-shm", "-sessions"})
                QCOMPARE(modeOf(path + QLatin1String(suffix)), 0600);
        }
        if (!existing) {
            QCOMPARE(modeOf(dir.filePath(QStringLiteral("made"))), 0700);
            QCOMPARE(modeOf(dir.filePath(QStringLiteral("made/here"))), 0700);
        }
    }
};

LUMISK_TEST(TestHistoryShared)
#include "tst_historyshared.moc"
