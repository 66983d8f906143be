#include "link/portprober.h"
#include "link/logging.h"
#include "link/uart.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSerialPort>
#include <QThreadPool>
#include <vector>

namespace {

// One line a probe logged, to be written later on the calling thread.
struct HeldLine {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// The lines of the probe running on this thread; none outside a probe.
thread_local std::vector<HeldLine> *heldLines = nullptr;
QtMessageHandler passOn = nullptr;

void holdOrPassOn(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (heldLines && type != QtFatalMsg) {
        heldLines->push_back({type, QByteArray(context.category), text});
        return;
    }
    passOn(type, context, text);
}

// One probe at a time in the process: the message handler is taken over for
// its duration and given back afterwards.
QMutex probing;

void probeOne(PortProber::Result *result, int baudRate, bool full)
{
    QSerialPort *port = SerialPortList::createPort(result->entry);
    Uart::configure(port, baudRate);
    if (!port->open(QIODevice::ReadWrite)) {
        result->permissionError = port->error() == QSerialPort::PermissionError;
        result->openError = port->errorString();
        delete port;
        return;
    }
    result->opened = true;
    qCDebug(lcLink) << (full ? "enum ParseResult __cdecl Uart::readDevInfos(void)"
                             : "enum ParseResult __cdecl Uart::readaDevInfos(void)");
    result->answer = Uart::identify(port, &result->identity, full, &result->heard);
    port->close();
    delete port;
}

} // namespace

QList<PortProber::Result> PortProber::probe(const QList<SerialPortList::Entry> &entries, int baudRate, bool full)
{
    QMutexLocker lock(&probing);
    std::vector<Result> results(size_t(entries.size()));
    std::vector<std::vector<HeldLine>> lines(results.size());
    for (size_t i = 0; i < results.size(); ++i)
        results[i].entry = entries.at(int(i));

    passOn = qInstallMessageHandler(holdOrPassOn);
    {
        QThreadPool pool;
        pool.setMaxThreadCount(MaxConcurrent);
        for (size_t i = 0; i < results.size(); ++i) {
            pool.start([&results, &lines, i, baudRate, full]() {
                heldLines = &lines[i];
                probeOne(&results[i], baudRate, full);
                heldLines = nullptr;
            });
        }
        pool.waitForDone();
    }
    qInstallMessageHandler(passOn);

    QList<Result> ordered;
    for (size_t i = 0; i < results.size(); ++i) {
        for (const HeldLine &line : lines[i]) {
            const QMessageLogContext context(nullptr, 0, nullptr, line.category.constData());
            qt_message_output(line.type, context, line.text);
        }
        ordered.append(results[i]);
    }
    return ordered;
}
