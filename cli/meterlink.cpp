#include "cli/meterlink.h"

#include "cli/cli.h"
#include "link/devdatas.h"
#include "link/portprober.h"
#include "link/uartworker.h"
#include "session/metersession.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace {
constexpr char PortListVariable[] = "LUMISK_SERIAL_PORTS";

bool sameDevice(const SerialPortList::Entry &entry, const QString &port)
{
    if (port == entry.name || port == entry.systemLocation)
        return true;
    const QFileInfo given(port);
    if (QDir::cleanPath(given.absoluteFilePath()) == entry.systemLocation)
        return true;
    const QString canonical = given.canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(entry.systemLocation).canonicalFilePath();
}
} // namespace

QString PortReport::summary() const
{
    if (!meter)
        return QStringLiteral("%1: %2").arg(name, problem);
    return Cli::Text::tr("%1: %2 %3 (kind %4)").arg(name, model, version).arg(kind);
}

namespace {
// What a probe found on one port, as the tool tells it.
PortReport reportFor(const PortProber::Result &result)
{
    PortReport report;
    report.name = result.entry.name;
    report.location = result.entry.systemLocation;
    report.opened = result.opened;
    if (!result.opened) {
        report.problem = result.entry.busy
                             ? Cli::Text::tr("in use by another program (%1)").arg(result.openError)
                             : Cli::Text::tr("cannot be opened: %1").arg(result.openError);
    } else if (result.answer == DataOk) {
        const DevDatas &identity = result.identity;
        report.meter = true;
        report.kind = identity.devKind;
        report.rangeCode = identity.rangeCode;
        report.recordPages = identity.hasRecordPages;
        report.model = identity.devType;
        report.version = identity.version;
    } else if (result.answer == Incomplete) {
        report.problem = Cli::Text::tr("no meter answered");
    } else {
        report.problem = Cli::Text::tr("no valid identity (answer %1)").arg(int(result.answer));
    }
    return report;
}

QList<PortReport> probeEntries(const QList<SerialPortList::Entry> &entries, int baud)
{
    // The identity requests go through the link's own exchange (re-sends,
    // answers in pieces), every port at once on a port object of its own:
    // the link's own port and the connected meter's identity stay as they are.
    QList<PortReport> reports;
    const auto results = PortProber::probe(entries, baud, true);
    for (const PortProber::Result &result : results)
        reports << reportFor(result);
    return reports;
}
} // namespace

PortReport MeterLink::probe(const SerialPortList::Entry &entry, int baud)
{
    return probeEntries({entry}, baud).first();
}

QList<PortReport> MeterLink::probeAll(int baud)
{
    return probeEntries(SerialPortList::available(), baud);
}

int MeterLink::choose(const QString &port, int baud, PortReport *chosen)
{
    if (!port.isEmpty()) {
        auto entries = SerialPortList::available();
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const SerialPortList::Entry &entry) { return sameDevice(entry, port); });
        if (found == entries.end() && QFileInfo::exists(port)) {
            // A device the port list does not show: from now on the link
            // layer sees exactly this one.
            qputenv(PortListVariable, QFile::encodeName(QFileInfo(port).absoluteFilePath()));
            entries = SerialPortList::available();
            found = entries.begin();
        }
        if (found == entries.end()) {
            Cli::err(Cli::Text::tr("lumisk-cli: no such serial port: %1").arg(port));
            return Cli::NoMeter;
        }
        *chosen = probe(*found, baud);
        if (!chosen->meter) {
            Cli::err(Cli::Text::tr("lumisk-cli: no meter on %1").arg(chosen->summary()));
            return Cli::NoMeter;
        }
        return Cli::Done;
    }
    const QList<PortReport> reports = probeAll(baud);
    QList<PortReport> meters;
    for (const PortReport &report : reports) {
        if (report.meter)
            meters << report;
    }
    if (meters.size() == 1) {
        *chosen = meters.first();
        return Cli::Done;
    }
    if (meters.isEmpty())
        Cli::err(Cli::Text::tr("lumisk-cli: no meter found"));
    else
        Cli::err(Cli::Text::tr("lumisk-cli: %1 meters found; choose one with --port").arg(meters.size()));
    for (const PortReport &report : reports)
        Cli::err(QStringLiteral("  ") + report.summary());
    return Cli::NoMeter;
}

MeterLink::MeterLink(QObject *parent) : QObject(parent), worker(UartWorker::instance())
{
    connect(worker, &UartWorker::uartClosed, this, &MeterLink::closed);
    connect(worker, &UartWorker::ReconnectResult, this,
            [this](Uart::PortInitState state) { emit reopened(state == Uart::InitOk); });
    connect(this, &MeterLink::openRequested, worker, &UartWorker::initUartOutPoint);
    connect(this, &MeterLink::reopenRequested, worker, &UartWorker::reinitUart);
}

MeterLink::~MeterLink()
{
    worker->setConnected(false);
}

bool MeterLink::open(const QString &portName, int baud)
{
    // Queued before the call that opens the port, so that call uses it.
    worker->choosePort({portName, baud});
    QEventLoop loop;
    bool ok = false;
    const auto connection = connect(worker, &UartWorker::uartInited, &loop, [&](Uart::PortInitState state) {
        ok = state == Uart::InitOk;
        loop.quit();
    });
    emit openRequested();
    loop.exec();
    disconnect(connection);
    // The worker reports the link up before it marks the port alive (in the
    // same call on its thread); anything queued behind that call runs after
    // it, so once this returns isAlive() holds.
    if (ok)
        QMetaObject::invokeMethod(worker, []() {}, Qt::BlockingQueuedConnection);
    return ok;
}

void MeterLink::attach(MeterSession *session)
{
    // The session's ledger is connected to the results before the session
    // is: it names the frame of each result before the session sees it.
    connect(session, &MeterSession::request, worker, &UartWorker::request);
    connect(worker, &UartWorker::responsed, session, &MeterSession::route);
}

void MeterLink::reopen()
{
    emit reopenRequested();
}

bool MeterLink::isAlive() const
{
    return worker->isPortAlive();
}
