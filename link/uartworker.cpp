#include "uartworker.h"
#include "link/logging.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMetaEnum>
#include <QThread>
#include <QTimer>

namespace {
constexpr int CheckIntervalMs = 120;
constexpr int ReleaseDelayMs = 10;

UartWorker *theWorker = nullptr;
QThread *theThread = nullptr;
} // namespace

UartWorker *UartWorker::instance()
{
    if (theWorker)
        return theWorker;
    registerParseResult();
    Uart::registerPortInitState();
    // Requests also travel by signature text (queued invocations by name).
    qRegisterMetaType<Frame *>("Frame*");
    theWorker = new UartWorker;
    theThread = new QThread;
    theWorker->workerThread = theThread;
    theWorker->moveToThread(theThread);
    connect(theThread, &QThread::finished, theWorker, &QObject::deleteLater);
    connect(theThread, &QThread::finished, theThread, &QObject::deleteLater);
    // The first thing the worker's event loop runs: the timer is made there.
    QMetaObject::invokeMethod(theWorker, &UartWorker::makeCheckTimer, Qt::QueuedConnection);
    theThread->start(QThread::InheritPriority);
    // The thread is stopped when the application object goes away, not when an
    // event loop ends: the main window is rebuilt after a language change and
    // finds the same worker again.
    qAddPostRoutine(&UartWorker::shutdown);
    return theWorker;
}

UartWorker::UartWorker() = default;

UartWorker::~UartWorker()
{
    // Runs on the worker's thread as it finishes: the ports were made here.
    Uart::releaseAll();
}

bool UartWorker::onWorkerThread() const
{
    return QThread::currentThread() == thread();
}

void UartWorker::makeCheckTimer()
{
    Q_ASSERT(onWorkerThread());
    if (checkTimer)
        return;
    checkTimer = new QTimer(this);
    checkTimer->setObjectName(QStringLiteral("checkTimer"));
    checkTimer->setInterval(CheckIntervalMs);
    checkTimer->start();
}

const QTimer *UartWorker::supervisionTimer() const
{
    return checkTimer;
}

void UartWorker::shutdown()
{
    if (!theWorker || !theThread)
        return;
    UartWorker *worker = theWorker;
    QThread *thread = theThread;
    theWorker = nullptr;
    theThread = nullptr;
    auto stop = [worker]() {
        if (worker->checkTimer)
            worker->checkTimer->stop();
        Uart::releaseAll();
    };
    // The timer and the ports are stopped on their own thread. Waiting for
    // that is only safe from another thread and while the worker's loop runs.
    if (QThread::currentThread() == thread) {
        stop();
        thread->quit();
        return;
    }
    if (thread->isRunning())
        QMetaObject::invokeMethod(worker, stop, Qt::BlockingQueuedConnection);
    thread->quit();
    thread->wait();
    delete thread;
}

bool UartWorker::isPortAlive() const
{
    return portAlive.load();
}

bool UartWorker::isConnected() const
{
    return connected.load();
}

void UartWorker::setConnected(bool value)
{
    connected = value;
    portAlive = false;
    // The port, the timer and their connections belong to the worker's
    // thread; a later request or connection attempt queues behind this.
    QMetaObject::invokeMethod(
        this,
        [this]() {
            Q_ASSERT(onWorkerThread());
            QObject::disconnect(checkConnection);
            QObject::disconnect(errorConnection);
            Uart::closePort(true);
        },
        Qt::AutoConnection);
}

void UartWorker::initUart()
{
    Q_ASSERT(onWorkerThread());
    lastResult = Incomplete;
    qCDebug(lcLink) << "initUart";
    Uart::registerPortInitState();
    portSettings = Uart::Settings();
    const Uart::PortInitState state = Uart::init(false);
    emit uartInited(state);
    if (state == Uart::InitOk)
        linkUp();
}

void UartWorker::initUartOutPoint()
{
    Q_ASSERT(onWorkerThread());
    lastResult = Incomplete;
    Uart::registerPortInitState();
    qCDebug(lcLink) << "point connectted";
    const Uart::PortInitState state = Uart::openSelectedPort(portSettings);
    emit uartInited(state);
    if (state == Uart::InitOk)
        linkUp();
}

void UartWorker::reinitUart()
{
    Q_ASSERT(onWorkerThread());
    lastResult = Incomplete;
    qCDebug(lcLink) << "  point break! reconnect it!";
    Uart::registerPortInitState();
    const Uart::PortInitState state = Uart::init(true, portSettings);
    if (state == Uart::InitOk)
        linkUp();
    emit ReconnectResult(state);
}

void UartWorker::request(QByteArray data, Frame *frame)
{
    Q_ASSERT(onWorkerThread());
    lastResult = Uart::exchange(data, frame);
    emit responsed(lastResult);
}

void UartWorker::requestFollowing(QByteArray data, Frame *frame, quint64 chain)
{
    Q_ASSERT(onWorkerThread());
    if (chain == 0 || chain != chainOpen.load() || lastResult != DataOk)
        lastResult = Skipped;
    else
        lastResult = Uart::exchange(data, frame);
    emit responsed(lastResult);
}

void UartWorker::openChain(quint64 chain)
{
    chainOpen = chain;
}

void UartWorker::choosePort(const Uart::Settings &settings)
{
    QMetaObject::invokeMethod(
        this, [this, settings]() { portSettings = settings; }, Qt::AutoConnection);
}

void UartWorker::uartErrorOccurred(QSerialPort::SerialPortError error)
{
    Q_ASSERT(onWorkerThread());
    const QSerialPort *port = Uart::currentPort;
    qCDebug(lcLink) << "uartErrorOccurred :" << QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)
             << (port ? port->portName() : QString()) << (port && port->isOpen()) << Uart::isPortAlive();
    // A device that vanished behind an open port keeps reporting these until
    // the port is closed: take the link down once instead of listening on.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (connected)
        takeLinkDown();
}

void UartWorker::closeUart()
{
    qCDebug(lcLink) << "closeUart";
    if (onWorkerThread()) {
        takeLinkDown();
        return;
    }
    // Called directly from the GUI thread: the window hears of the close at
    // once, and whichever side takes the link down first reports it, once.
    // The timer's and the port's connections are left to the worker's thread.
    if (connected.exchange(false)) {
        portAlive = false;
        emit uartClosed();
    }
    QMetaObject::invokeMethod(this, &UartWorker::takeLinkDown, Qt::QueuedConnection);
}

void UartWorker::linkUp()
{
    Q_ASSERT(onWorkerThread());
    makeCheckTimer();
    ++linkGeneration;
    connected = true;
    portAlive = Uart::isPortAlive();
    QObject::disconnect(errorConnection);
    QObject::disconnect(checkConnection);
    if (Uart::currentPort)
        errorConnection = connect(Uart::currentPort, &QSerialPort::errorOccurred, this, &UartWorker::uartErrorOccurred);
    checkConnection = connect(checkTimer, &QTimer::timeout, this, &UartWorker::checkPort);
}

void UartWorker::checkPort()
{
    Q_ASSERT(onWorkerThread());
    if (!connected)
        return;
    const bool alive = Uart::isPortAlive();
    portAlive = alive;
    if (!alive)
        takeLinkDown();
}

// Breaks the link's connections, reports the link closed unless the GUI
// thread's closeUart() already did, and releases the port a moment later.
void UartWorker::takeLinkDown()
{
    Q_ASSERT(onWorkerThread());
    QObject::disconnect(checkConnection);
    QObject::disconnect(errorConnection);
    portAlive = false;
    if (connected.exchange(false))
        emit uartClosed();
    const int generation = linkGeneration.load();
    QTimer::singleShot(ReleaseDelayMs, this, [this, generation]() {
        if (generation == linkGeneration.load())
            Uart::closePort(true);
    });
}
