#include "uart.h"
#include "link/logging.h"

#include "commands.h"
#include "devdatas.h"
#include "devmodelframe.h"
#include "devtypeframe.h"
#include "devversionframe.h"
#include "portprober.h"
#include "serialportlist.h"

#include <QDebug>
#include <QMutex>
#include <QMutexLocker>
#include <QSerialPort>

namespace {
constexpr int ScanBaudRate = Uart::Settings::ScanBaudRate;
constexpr int WriteTimeoutMs = 30000;
constexpr int FirstReadTimeoutMs = 500;
constexpr int NextReadTimeoutMs = 100;
// Silent reads after the first one before an exchange gives up (five reads in
// all), and the silent read after which the request is sent again.
constexpr int SilentReadLimit = 3;
constexpr int ResendAfterSilentReads = 2;
// Re-sends of the request within one exchange, whatever prompted them.
constexpr int ResendLimit = 2;
// An answer is at most 260 bytes, so a read that brings bytes always makes
// progress; this only bounds a line that never stops trickling bytes.
constexpr int ProgressReadLimit = 1024;

// The reports are written on the link's thread and read on the window's.
QMutex reportsMutex;
QList<PortDiagnosis::PortReport> portReports;

// The device path behind a port: QSerialPort names a device under /dev/ by
// its short name and anything else by its path.
QString locationOf(const QSerialPort *port)
{
    const QString name = port->portName();
    return name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}
} // namespace

QList<QSerialPort *> Uart::candidatePorts;
QStringList Uart::candidatePortNames;
QSerialPort *Uart::currentPort = nullptr;
bool Uart::heardBytes = false;

QList<PortDiagnosis::PortReport> Uart::lastPortReports()
{
    QMutexLocker lock(&reportsMutex);
    return portReports;
}

void Uart::noteReport(const PortDiagnosis::PortReport &report)
{
    QMutexLocker lock(&reportsMutex);
    portReports.append(report);
}

void Uart::clearReports()
{
    QMutexLocker lock(&reportsMutex);
    portReports.clear();
}

bool Uart::openAndIdentify(QSerialPort *port, const QString &path, bool full)
{
    if (!port->open(QIODevice::ReadWrite)) {
        noteReport(PortDiagnosis::diagnoseOpenFailure(port->portName(), path,
                                                      port->error() == QSerialPort::PermissionError,
                                                      port->errorString()));
        return false;
    }
    if ((full ? readDevInfos() : readaDevInfos()) == DataOk)
        return true;
    PortDiagnosis::PortReport report;
    report.port = port->portName();
    report.finding = heardBytes ? PortDiagnosis::Finding::NotAMeter : PortDiagnosis::Finding::NoAnswer;
    noteReport(report);
    return false;
}

void Uart::registerPortInitState()
{
    qRegisterMetaType<Uart::PortInitState>("Uart::PortInitState");
    qRegisterMetaType<Uart::Settings>("Uart::Settings");
}

void Uart::configure(QSerialPort *port, int rate)
{
    port->setBaudRate(rate, QSerialPort::AllDirections);
    port->setDataBits(QSerialPort::Data8);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
}

// Every port is destroyed here, once: it leaves the candidate list and, if it
// was the current port, is forgotten there too.
void Uart::destroyPort(QSerialPort *port)
{
    if (!port)
        return;
    candidatePorts.removeAll(port);
    if (currentPort == port)
        currentPort = nullptr;
    if (port->isOpen())
        port->close();
    delete port;
}

bool Uart::isListed(const QSerialPort *port)
{
    if (!port)
        return false;
    const QString name = port->portName();
    const auto entries = SerialPortList::available();
    for (const SerialPortList::Entry &entry : entries) {
        if (entry.name == name && port->isOpen() && entry.busy)
            return true;
    }
    return false;
}

Uart::PortInitState Uart::init(bool reconnect)
{
    return init(reconnect, Settings());
}

Uart::PortInitState Uart::init(bool reconnect, const Settings &settings)
{
    if (reconnect)
        return reopenPort(settings.baudRate);
    const auto ports = candidatePorts;
    for (QSerialPort *port : ports)
        destroyPort(port);
    candidatePorts.clear();
    candidatePortNames.clear();
    return scanPorts();
}

Uart::PortInitState Uart::scanPorts()
{
    if (currentPort) {
        QSerialPort *old = currentPort;
        currentPort = nullptr;
        // A port that is also a candidate stays alive in the list.
        if (candidatePorts.contains(old)) {
            if (old->isOpen())
                old->close();
        } else {
            destroyPort(old);
        }
    }
    clearReports();
    // Every port is probed at once, each on a port object of its own; the
    // outcome is taken in the order of the list. A port where a meter answered
    // becomes a candidate: a new, closed port object of this thread's.
    const auto results = PortProber::probe(SerialPortList::available(), ScanBaudRate, false);
    const DevDatas *lastMeter = nullptr;
    for (const PortProber::Result &result : results) {
        if (!result.opened) {
            noteReport(PortDiagnosis::diagnoseOpenFailure(result.entry.name, result.entry.systemLocation,
                                                          result.permissionError, result.openError));
        } else if (result.meter()) {
            currentPort = SerialPortList::createPort(result.entry);
            configure(currentPort, ScanBaudRate);
            candidatePorts.append(currentPort);
            candidatePortNames.append(currentPort->portName());
            lastMeter = &result.identity;
        } else {
            PortDiagnosis::PortReport report;
            report.port = result.entry.name;
            report.finding = result.heard ? PortDiagnosis::Finding::NotAMeter : PortDiagnosis::Finding::NoAnswer;
            noteReport(report);
        }
    }
    // What the device-type answers leave in the meter's record: the last
    // meter's, as when the ports were asked one after the other.
    if (lastMeter) {
        DevDatas *datas = DevDatas::instance();
        datas->devKind = lastMeter->devKind;
        datas->rangeCode = lastMeter->rangeCode;
        datas->hasRecordPages = lastMeter->hasRecordPages;
    }
    if (candidatePorts.size() >= 2) {
        if (currentPort && currentPort->isOpen())
            currentPort->close();
        currentPort = nullptr;
        return SeveralDevices;
    }
    if (candidatePorts.size() == 1) {
        currentPort = candidatePorts.first();
        if (openAndIdentify(currentPort, locationOf(currentPort), true))
            return InitOk;
        destroyPort(currentPort);
        return InitFailed;
    }
    currentPort = nullptr;
    return InitFailed;
}

Uart::PortInitState Uart::openSelectedPort(const Settings &settings)
{
    const auto candidates = candidatePorts;
    for (QSerialPort *port : candidates)
        destroyPort(port);
    candidatePorts.clear();
    if (currentPort)
        destroyPort(currentPort);

    clearReports();
    QString location;
    const auto entries = SerialPortList::available();
    for (const SerialPortList::Entry &entry : entries) {
        qCDebug(lcLink).noquote() << "show port name  " << entry.name << settings.baudRate;
        if (entry.name == settings.portName) {
            currentPort = SerialPortList::createPort(entry);
            location = entry.systemLocation;
            break;
        }
    }
    if (!currentPort) {
        PortDiagnosis::PortReport report;
        report.port = settings.portName;
        report.finding = PortDiagnosis::Finding::Gone;
        noteReport(report);
        return InitFailed;
    }
    if (currentPort->isOpen())
        currentPort->close();
    configure(currentPort, settings.baudRate);
    if (openAndIdentify(currentPort, location, true))
        return InitOk;
    destroyPort(currentPort);
    return InitFailed;
}

Uart::PortInitState Uart::reopenPort(int baudRate)
{
    clearReports();
    if (!currentPort)
        return InitFailed;
    if (currentPort->isOpen())
        currentPort->close();
    configure(currentPort, baudRate);
    if (openAndIdentify(currentPort, locationOf(currentPort), true))
        return InitOk;
    destroyPort(currentPort);
    return InitFailed;
}

ParseResult Uart::readaDevInfos()
{
    qCDebug(lcLink) << "enum ParseResult __cdecl Uart::readaDevInfos(void)";
    return identify(currentPort, DevDatas::instance(), false, &heardBytes);
}

ParseResult Uart::readDevInfos()
{
    qCDebug(lcLink) << "enum ParseResult __cdecl Uart::readDevInfos(void)";
    return identify(currentPort, DevDatas::instance(), true, &heardBytes);
}

ParseResult Uart::readDevInfos(QSerialPort *port, DevDatas *identity)
{
    qCDebug(lcLink) << "enum ParseResult __cdecl Uart::readDevInfos(void)";
    bool heard = false;
    return identify(port, identity, true, &heard);
}

ParseResult Uart::identify(QSerialPort *port, DevDatas *identity, bool full, bool *heard)
{
    ParseResult result;
    {
        DevTypeFrame frame(identity);
        result = exchange(port, Command::devType(), &frame, heard);
    }
    if (!full || result != DataOk)
        return result;
    qCDebug(lcLink) << 1;
    {
        DevModelFrame frame(identity);
        result = exchange(port, Command::devModel(), &frame, heard);
    }
    if (result != DataOk)
        return result;
    qCDebug(lcLink) << result;
    DevVersionFrame frame(identity);
    return exchange(port, Command::devVersion(), &frame, heard);
}

ParseResult Uart::exchange(const QByteArray &request, Frame *frame)
{
    return exchange(currentPort, request, frame, &heardBytes);
}

ParseResult Uart::exchange(QSerialPort *port, const QByteArray &request, Frame *frame, bool *heardBytes)
{
    bool heard = false;
    const auto note = [&heard, heardBytes](const QByteArray &received) {
        heard = heard || !received.isEmpty();
        if (heardBytes)
            *heardBytes = heard;
    };
    note(QByteArray());
    if (!port || !frame)
        return Incomplete;
    // The meter is strictly polled: whatever still waits in the line cannot be
    // the answer to this request (a late answer to an earlier one), and would
    // otherwise be taken for it.
    port->clear(QSerialPort::Input);

    port->write(request);
    qCDebug(lcLink).noquote() << "write data" << request.toHex(' ');
    port->waitForBytesWritten(WriteTimeoutMs);
    const bool ready = port->waitForReadyRead(FirstReadTimeoutMs);
    qCDebug(lcLink) << "waitForReadyRead" << ready;
    QByteArray received = port->readAll();
    note(received);
    qCDebug(lcLink).noquote() << "read data" << received.toHex(' ');
    ParseResult result = frame->feed(received);
    qCDebug(lcLink) << "result send" << int(result);

    // Reads that bring more of an unfinished answer do not count against the
    // attempts: a long answer at a low rate arrives in many small pieces. Only
    // silent reads do. A meter that has not begun to answer is asked again;
    // an answer that began and then went silent for the rest of the attempts
    // (a byte lost on the line, noise and nothing more) will never complete,
    // so it counts as a spoiled answer and is asked for again too.
    bool answerStarted = !received.isEmpty();
    int attempts = 0;
    int progressReads = 0;
    int resends = 0;
    while (result == Incomplete) {
        qCDebug(lcLink) << "readwhile";
        if (attempts > SilentReadLimit) {
            if (!answerStarted)
                return Incomplete;
            frame->reset();
            if (!isListed(port))
                return Incomplete;
            if (resends >= ResendLimit)
                return CheckFailed;
            port->clear(QSerialPort::Input);
            port->write(request);
            port->waitForBytesWritten(WriteTimeoutMs);
            ++resends;
            answerStarted = false;
            attempts = 0;
            progressReads = 0;
        } else if (attempts >= ResendAfterSilentReads && received.isEmpty() && !answerStarted) {
            if (!isListed(port))
                return Incomplete;
            if (resends < ResendLimit) {
                port->write(request);
                port->waitForBytesWritten(WriteTimeoutMs);
                ++resends;
            }
        }
        port->waitForReadyRead(NextReadTimeoutMs);
        received = port->readAll();
        note(received);
        result = frame->feed(received);
        if (received.isEmpty() || ++progressReads > ProgressReadLimit)
            ++attempts;
        else
            answerStarted = true;
    }
    return result;
}

bool Uart::isPortAlive()
{
    return isListed(currentPort);
}

void Uart::closePort(bool release)
{
    if (currentPort && currentPort->isOpen())
        currentPort->close();
    if (release && currentPort)
        destroyPort(currentPort);
}

void Uart::releaseAll()
{
    closePort(true);
    const auto candidates = candidatePorts;
    for (QSerialPort *port : candidates)
        destroyPort(port);
    candidatePorts.clear();
}
