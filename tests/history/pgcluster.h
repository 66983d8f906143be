#pragma once
// A throwaway PostgreSQL 15 for the team-server tests and benchmarks:
// initdb and pg_ctl from Debian's postgresql package, in a temporary folder,
// listening only on a Unix socket there. initdb refuses root, so as root the
// server runs as `nobody` (the folder handed over to it).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <atomic>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

class PgCluster
{
public:
    static QString binDir() { return QStringLiteral("/usr/lib/postgresql/15/bin"); }
    // Why the cluster cannot run here; empty when it can.
    static QString missing()
    {
        for (const char *tool : {"initdb", "pg_ctl", "postgres"}) {
            if (!QFileInfo(binDir() + QLatin1Char('/') + QLatin1String(tool)).isExecutable())
                return QStringLiteral("PostgreSQL 15 is not installed (%1/%2 missing; Debian package postgresql)")
                    .arg(binDir(), QLatin1String(tool));
        }
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package libqt5sql5-psql)");
        return QString();
    }

    PgCluster() : dir(QDir::tempPath() + QStringLiteral("/lumisk-pg-XXXXXX")) {}
    ~PgCluster()
    {
        stop();
        if (qEnvironmentVariableIsSet("LUMISK_BENCH_PGLOG"))
            QFile::copy(logFile(), QString::fromLocal8Bit(qgetenv("LUMISK_BENCH_PGLOG")));
    }

    // initdb and start; false with error() on failure.
    bool init()
    {
        if (!dir.isValid())
            return fail(QStringLiteral("no temporary folder"));
        if (geteuid() == 0) {
            const passwd *account = getpwnam("nobody");
            if (!account || chown(dir.path().toLocal8Bit().constData(), account->pw_uid, account->pw_gid) != 0)
                return fail(QStringLiteral("the folder cannot be handed to nobody"));
        }
        if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), user(),
                                            QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                                            QStringLiteral("UTF8"), QStringLiteral("--no-sync")}))
            return false;
        return start();
    }

    bool start()
    {
        return run(QStringLiteral("pg_ctl"),
                   {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), dir.filePath(QStringLiteral("server.log")),
                    QStringLiteral("-w"), QStringLiteral("-o"),
                    QStringLiteral("-k %1 -c listen_addresses='' -p %2").arg(dir.path()).arg(Port),
                    QStringLiteral("start")});
    }

    // Stops at once, as a crash or a pulled cable would: no goodbye to clients.
    bool stop()
    {
        if (!QFileInfo::exists(dataDir() + QStringLiteral("/postmaster.pid")))
            return true;
        return run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                              QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }

    // Every process of the server stopped (SIGSTOP) or let go on (SIGCONT), as
    // a hung host: the kernel still accepts connections and acknowledges
    // what is sent, and nothing answers. Safe from any thread.
    bool pause() { return signalAll(SIGSTOP); }
    bool resume() { return signalAll(SIGCONT); }

    // An open connection of the test's own, under `name` (removed by the caller).
    QSqlDatabase open(const QString &database, const QString &name) const
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(dir.path());
        db.setPort(Port);
        db.setUserName(user());
        db.setDatabaseName(database);
        db.open();
        return db;
    }

    // libpq keywords for a database of this cluster.
    QString address(const QString &database = QStringLiteral("postgres")) const
    {
        return QStringLiteral("host=%1 port=%2 user=%3 dbname=%4").arg(dir.path()).arg(Port).arg(user(), database);
    }

    bool createDatabase(const QString &name) { return exec(QStringLiteral("CREATE DATABASE %1").arg(name)); }

    // The first column of the first row of a query; -1 when none.
    qint64 scalar(const QString &database, const QString &sql)
    {
        qint64 value = -1;
        query(database, sql, [&value](QSqlQuery &q) {
            if (q.next())
                value = q.value(0).toLongLong();
        });
        return value;
    }

    template<typename Read>
    bool query(const QString &database, const QString &sql, Read read)
    {
        static std::atomic<int> next{0};
        const QString name = QStringLiteral("pgcluster-%1").arg(next++);
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(dir.path());
            db.setPort(Port);
            db.setUserName(user());
            db.setDatabaseName(database);
            if (db.open()) {
                QSqlQuery q(db);
                ok = q.exec(sql);
                if (ok)
                    read(q);
                else
                    lastError = q.lastError().text();
            } else {
                lastError = db.lastError().text();
            }
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }

    bool exec(const QString &sql, const QString &database = QStringLiteral("postgres"))
    {
        return query(database, sql, [](QSqlQuery &) {});
    }

    QString error() const { return lastError; }
    QString logFile() const { return dir.filePath(QStringLiteral("server.log")); }

private:
    static constexpr int Port = 5432;
    static QString user() { return QStringLiteral("lumisk"); }
    QString dataDir() const { return dir.filePath(QStringLiteral("data")); }

    // The postmaster and its children (found by their parent in /proc).
    bool signalAll(int signal) const
    {
        QFile pidFile(dataDir() + QStringLiteral("/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            return false;
        const pid_t postmaster = pid_t(pidFile.readLine().trimmed().toLong());
        if (postmaster <= 0)
            return false;
        // The postmaster first on the way down, so that it starts nothing new.
        bool ok = kill(postmaster, signal) == 0;
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (entry.toLong() <= 0 || !stat.open(QIODevice::ReadOnly))
                continue;
            // "pid (name) state ppid …"; the name may hold spaces and parentheses.
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields.at(1).toLong() == postmaster)
                ok = kill(pid_t(entry.toLong()), signal) == 0 && ok;
        }
        return ok;
    }

    bool fail(const QString &why)
    {
        lastError = why;
        return false;
    }

    bool run(const QString &tool, const QStringList &args)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(dir.path()); // one `nobody` may enter
        const QString program = binDir() + QLatin1Char('/') + tool;
        if (geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), program} + args);
        else
            process.start(program, args);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return fail(tool + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()));
        return true;
    }

    QTemporaryDir dir;
    QString lastError;
};
