#pragma once
// Where the team server is: `server=` under [history] in settings.ini, as
// libpq keywords ("host=db.example dbname=lumisk user=ana") or as a URI
// ("postgresql://ana@db.example/lumisk"). A password is never taken from
// there: libpq finds it in ~/.pgpass, PGPASSFILE or PGPASSWORD.

#include <QList>
#include <QPair>
#include <QString>

class QSqlDatabase;

struct ServerAddress {
    // Seconds libpq waits for a server that does not answer, unless the
    // address says otherwise: a sync thread waiting on a vanished host holds
    // up the end of the program.
    static constexpr int ConnectTimeoutS = 5;

    QList<QPair<QString, QString>> keywords; // in the order given
    bool passwordDropped = false;
    QString error; // empty when the text could be read

    static ServerAddress parse(const QString &text);
    QString value(const QString &keyword) const;
    // Sets the connection's host, port, database, user and options.
    void applyTo(QSqlDatabase &db) const;
};
