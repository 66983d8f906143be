#include "history/serveraddress.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlDatabase>
#include <QUrl>

namespace {

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

// A value in libpq's keyword syntax: quoted, with \ and ' escaped.
QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

void parseKeywords(const QString &text, ServerAddress &address)
{
    int i = 0;
    const int n = text.size();
    auto skipSpace = [&] {
        while (i < n && text.at(i).isSpace())
            ++i;
    };
    while (true) {
        skipSpace();
        if (i >= n)
            return;
        const int start = i;
        while (i < n && text.at(i) != QLatin1Char('=') && !text.at(i).isSpace())
            ++i;
        const QString keyword = text.mid(start, i - start);
        skipSpace();
        if (keyword.isEmpty() || i >= n || text.at(i) != QLatin1Char('=')) {
            address.error = QCoreApplication::translate(
                "ServerAddress", "\"%1\" has no value (keyword=value expected).").arg(keyword);
            return;
        }
        ++i;
        skipSpace();
        QString value;
        if (i < n && text.at(i) == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text.at(i++);
                if (c == QLatin1Char('\\') && i < n) {
                    value += text.at(i++);
                } else if (c == QLatin1Char('\'')) {
                    closed = true;
                    break;
                } else {
                    value += c;
                }
            }
            if (!closed) {
                address.error = QCoreApplication::translate(
                "ServerAddress", "The value of \"%1\" lacks its closing quote.").arg(keyword);
                return;
            }
        } else {
            while (i < n && !text.at(i).isSpace()) {
                const QChar c = text.at(i++);
                if (c == QLatin1Char('\\') && i < n)
                    value += text.at(i++);
                else
                    value += c;
            }
        }
        address.keywords.append({keyword, value});
    }
}

void parseUri(const QString &text, int prefixLength, ServerAddress &address)
{
    QString rest = text.mid(prefixLength);
    QString query;
    const int question = rest.indexOf(QLatin1Char('?'));
    if (question >= 0) {
        query = rest.mid(question + 1);
        rest.truncate(question);
    }
    QString database;
    const int slash = rest.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        database = decoded(rest.mid(slash + 1));
        rest.truncate(slash);
    }
    const int at = rest.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString user = rest.left(at);
        const int colon = user.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            address.passwordDropped = true;
        const QString name = decoded(colon >= 0 ? user.left(colon) : user);
        if (!name.isEmpty())
            address.keywords.append({QStringLiteral("user"), name});
        rest = rest.mid(at + 1);
    }
    QStringList hosts;
    QStringList ports;
    bool anyPort = false;
    for (const QString &hostPort : rest.split(QLatin1Char(','), Qt::KeepEmptyParts)) {
        QString host = hostPort;
        QString port;
        if (host.startsWith(QLatin1Char('['))) {
            const int close = host.indexOf(QLatin1Char(']'));
            if (close < 0) {
                address.error = QCoreApplication::translate(
                "ServerAddress", "The address %1 lacks its closing bracket.").arg(hostPort);
                return;
            }
            if (host.mid(close + 1).startsWith(QLatin1Char(':')))
                port = host.mid(close + 2);
            host = host.mid(1, close - 1);
        } else {
            const int colon = host.lastIndexOf(QLatin1Char(':'));
            if (colon >= 0) {
                port = host.mid(colon + 1);
                host.truncate(colon);
            }
        }
        hosts << decoded(host);
        ports << port;
        anyPort = anyPort || !port.isEmpty();
    }
    if (hosts.size() > 1 || !hosts.value(0).isEmpty())
        address.keywords.append({QStringLiteral("host"), hosts.join(QLatin1Char(','))});
    if (anyPort)
        address.keywords.append({QStringLiteral("port"), ports.join(QLatin1Char(','))});
    if (!database.isEmpty())
        address.keywords.append({QStringLiteral("dbname"), database});
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const int equals = pair.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            address.error = QCoreApplication::translate(
                "ServerAddress", "\"%1\" has no value (keyword=value expected).").arg(decoded(pair));
            return;
        }
        address.keywords.append({decoded(pair.left(equals)), decoded(pair.mid(equals + 1))});
    }
}

} // namespace

ServerAddress ServerAddress::parse(const QString &text)
{
    ServerAddress address;
    const QString trimmed = text.trimmed();
    int prefix = 0;
    for (const char *scheme : {"postgresql://", "postgres://"}) {
        if (trimmed.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            prefix = int(qstrlen(scheme));
    }
    if (prefix > 0)
        parseUri(trimmed, prefix, address);
    else
        parseKeywords(trimmed, address);
    if (!address.error.isEmpty()) {
        address.keywords.clear();
        return address;
    }
    // The password belongs in ~/.pgpass (or PGPASSFILE, PGPASSWORD), never in
    // the settings file.
    for (int i = address.keywords.size() - 1; i >= 0; --i) {
        if (address.keywords.at(i).first == QLatin1String("password")) {
            address.keywords.removeAt(i);
            address.passwordDropped = true;
        }
    }
    return address;
}

QString ServerAddress::value(const QString &keyword) const
{
    for (const auto &pair : keywords) {
        if (pair.first == keyword)
            return pair.second;
    }
    return QString();
}

void ServerAddress::applyTo(QSqlDatabase &db) const
{
    for (const auto &pair : keywords) {
        bool isNumber = false;
        if (pair.first == QLatin1String("host"))
            db.setHostName(pair.second);
        else if (pair.first == QLatin1String("dbname"))
            db.setDatabaseName(pair.second);
        else if (pair.first == QLatin1String("user"))
            db.setUserName(pair.second);
        else if (pair.first == QLatin1String("port") && (pair.second.toInt(&isNumber), isNumber))
            db.setPort(pair.second.toInt());
    }
    db.setConnectOptions(connectOptions());
}

QString ServerAddress::connectOptions() const
{
    QStringList options;
    QSet<QString> given;
    for (const auto &pair : keywords) {
        bool isNumber = false;
        if (pair.first == QLatin1String("host") || pair.first == QLatin1String("dbname")
            || pair.first == QLatin1String("user")
            || (pair.first == QLatin1String("port") && (pair.second.toInt(&isNumber), isNumber)))
            continue;
        given.insert(pair.first);
        options << pair.first + QLatin1Char('=') + quoted(pair.second);
    }
    const std::pair<const char *, int> limits[] = {
        {"connect_timeout", ConnectTimeoutS},        {"keepalives_idle", KeepaliveIdleS},
        {"keepalives_interval", KeepaliveIntervalS}, {"keepalives_count", KeepaliveCount},
        {"tcp_user_timeout", TcpUserTimeoutMs},
    };
    for (const auto &limit : limits) {
        if (!given.contains(QLatin1String(limit.first)))
            options << QStringLiteral("%1=%2").arg(QLatin1String(limit.first)).arg(limit.second);
    }
    options << QStringLiteral("fallback_application_name=lumisk");
    return options.join(QLatin1Char(' '));
}

QStringList ServerAddress::sessionSettings() const
{
    // As libpq takes them: the last `options` keyword, else PGOPTIONS; a
    // setting named in any spelling ("-c lock_timeout=0", "--lock-timeout=0").
    QString serverOptions = qEnvironmentVariable("PGOPTIONS");
    for (const auto &pair : keywords) {
        if (pair.first == QLatin1String("options"))
            serverOptions = pair.second;
    }
    serverOptions = serverOptions.toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    QStringList statements;
    const std::pair<const char *, int> settings[] = {
        {"statement_timeout", StatementTimeoutMs},
        {"lock_timeout", LockTimeoutMs},
    };
    for (const auto &setting : settings) {
        if (!serverOptions.contains(QLatin1String(setting.first)))
            statements << QStringLiteral("SET %1 = %2").arg(QLatin1String(setting.first)).arg(setting.second);
    }
    return statements;
}
