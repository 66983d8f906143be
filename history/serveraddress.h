#pragma once
// Where the team server is: `server=` under [history] in settings.ini, as
// libpq keywords ("host=db.example dbname=lumisk user=ana") or as a URI
// ("postgresql://ana@db.example/lumisk"). A password is never taken from
// there: libpq finds it in ~/.pgpass, PGPASSFILE or PGPASSWORD.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QSqlDatabase;

struct ServerAddress {
    // Seconds libpq waits for a server that does not answer, unless the
    // address says otherwise: a sync thread waiting on a vanished host holds
    // up the end of the program.
    static constexpr int ConnectTimeoutS = 5;
    // The rest of a connection's limits, each unless the address sets it:
    // the server cancels a statement after StatementTimeoutMs and gives up a
    // lock wait after LockTimeoutMs; the kernel notices a link gone quiet
    // after about KeepaliveIdleS + KeepaliveIntervalS * KeepaliveCount (25 s)
    // and data left unacknowledged after TcpUserTimeoutMs (TCP only; a Unix
    // socket fails by itself).
    static constexpr int StatementTimeoutMs = 20000;
    static constexpr int LockTimeoutMs = 10000;
    static constexpr int KeepaliveIdleS = 10;
    static constexpr int KeepaliveIntervalS = 5;
    static constexpr int KeepaliveCount = 3;
    static constexpr int TcpUserTimeoutMs = 30000;

    QList<QPair<QString, QString>> keywords; // in the order given
    bool passwordDropped = false;
    QString error; // empty when the text could be read

    static ServerAddress parse(const QString &text);
    QString value(const QString &keyword) const;
    // Sets the connection's host, port, database, user and options.
    void applyTo(QSqlDatabase &db) const;
    // The libpq keywords applyTo() gives as connect options: the address's
    // own but host, port, dbname and user, then the limits it does not set.
    QString connectOptions() const;
    // The statements that set the server's limits on a new connection, but
    // those the address's `options` (or PGOPTIONS without one) sets. Set
    // after connecting rather than in `options`, which a pooler such as
    // PgBouncer refuses.
    QStringList sessionSettings() const;
};
