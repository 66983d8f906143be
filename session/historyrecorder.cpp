#include "session/historyrecorder.h"

#include "domain/configuration.h"
#include "history/historystore.h"
#include "history/serveraddress.h"
#include "link/devdatas.h"
#include "link/logging.h"
#include "link/realtimeopmvalueframe.h"

#include <pwd.h>
#include <unistd.h>
#include <QSysInfo>
#include <QSettings>

HistoryRecorder::HistoryRecorder(QObject *parent) : QObject(parent), history(new HistoryStore(QString(), this))
{
    usable = history->open() && !history->isReadOnly();
    if (!history->lastError().isEmpty())
        qCWarning(lcHistory).noquote() << history->lastError();
    const QString server = serverSetting();
    if (usable && !server.isEmpty()) {
        if (ServerAddress::parse(server).passwordDropped)
            qCWarning(lcHistory).noquote() << tr("The password in the history server setting is not used; "
                                             "libpq reads it from ~/.pgpass (or PGPASSFILE, PGPASSWORD).");
        history->startSync(server);
    }
}

QString HistoryRecorder::serverSetting()
{
    const QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    // An unquoted value with commas (two hosts) comes back as a list.
    const QVariant setting = settings.value(QStringLiteral("history/server"));
    return (setting.type() == QVariant::StringList ? setting.toStringList().join(QLatin1Char(','))
                                                   : setting.toString())
        .trimmed();
}

HistoryRecorder::~HistoryRecorder()
{
    endDownload();
    endRun();
    history->close();
}

QString HistoryRecorder::familyOf(PageType type)
{
    return History::familyOf(type);
}

HistoryStore::Session HistoryRecorder::identity(const QString &kind)
{
    const DevDatas *meter = DevDatas::instance();
    HistoryStore::Session session;
    session.kind = kind;
    session.meterModel = meter->devType;
    session.meterVersion = meter->version;
    session.meterKind = meter->devKind;
    session.rangeCode = meter->rangeCode;
    const QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    session.technician = settings.value(QStringLiteral("history/technician")).toString();
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        if (session.technician.isEmpty())
            session.technician = qEnvironmentVariable(name);
    }
    // Started without a login environment (a desktop entry, a service): the
    // account's own name.
    if (session.technician.isEmpty()) {
        if (const passwd *account = getpwuid(getuid()))
            session.technician = QString::fromLocal8Bit(account->pw_name);
    }
    session.host = QSysInfo::machineHostName();
    return session;
}

qint64 HistoryRecorder::begin(const QString &kind)
{
    if (!usable || history->isReadOnly())
        return 0;
    return history->beginSession(identity(kind));
}

void HistoryRecorder::beginDownload(PageType type)
{
    endDownload();
    downloadFamily = hasRecords(type) ? familyOf(type) : QString();
    if (!downloadFamily.isEmpty())
        downloadSession = begin(downloadFamily);
}

void HistoryRecorder::record(PageType type, const Frame *frame)
{
    if (downloadSession == 0 || familyOf(type) != downloadFamily)
        return;
    history->addRecord(downloadSession, HistoryStore::recordFrom(downloadFamily, frame));
}

void HistoryRecorder::endDownload()
{
    if (downloadSession != 0)
        history->endSession(downloadSession, HistoryStore::Commit::Background);
    downloadSession = 0;
    downloadFamily.clear();
}

QString HistoryRecorder::startProblem() const
{
    return !history->lastError().isEmpty() ? history->lastError() : history->notice();
}

void HistoryRecorder::liveReading(const Frame *frame, const QDateTime &arrival)
{
    const auto *live = qobject_cast<const RealTimeOpmValueFrame *>(frame);
    if (!live)
        return;
    if (runSession == 0)
        runSession = begin(familyOf(PageType::Chart));
    if (runSession == 0)
        return;
    history->addLiveReading(runSession, HistoryStore::LiveReading::of(arrival, live->value()));
}

void HistoryRecorder::endRun()
{
    if (runSession != 0)
        history->endSession(runSession, HistoryStore::Commit::Background);
    runSession = 0;
}
