#include "uartworker.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMetaEnum>
#include <QThread>

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
    theThread->start(QThread::InheritPriority);
    // The thread is stopped when the application object goes away, not when an
    // event loop ends: the main window is rebuilt after a language change and
    // finds the same worker again.
    qAddPostRoutine(&UartWorker::shutdown);
    return theWorker;
}

UartWorker::UartWorker()
{
    checkTimer.setInterval(CheckIntervalMs);
    checkTimer.start();
}

UartWorker::~UartWorker()
{
    // Runs on the worker's thread as it finishes: the ports were made here.
    Uart::releaseAll();
}

void UartWorker::shutdown()
{
    if (!theWorker || !theThread)
        return;
    theWorker->checkTimer.stop();
    QMetaObject::invokeMethod(theWorker, []() { Uart::releaseAll(); }, Qt::BlockingQueuedConnection);
    QThread *thread = theThread;
    theWorker = nullptr;
    theThread = nullptr;
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
    // The port belongs to the worker's thread; a later request or connection
    // attempt queues behind this.
    QMetaObject::invokeMethod(this, []() { Uart::closePort(true); }, Qt::AutoConnection);
}

void UartWorker::initUart()
{
    qDebug() << "initUart";
    Uart::registerPortInitState();
    const Uart::PortInitState state = Uart::init(false);
    emit uartInited(state);
    if (state == Uart::InitOk)
        linkUp();
}

void UartWorker::initUartOutPoint()
{
    Uart::registerPortInitState();
    qDebug() << "point connectted";
    const Uart::PortInitState state = Uart::openSelectedPort();
    emit uartInited(state);
    if (state == Uart::InitOk)
        linkUp();
}

void UartWorker::reinitUart()
{
    qDebug() << "  point break! reconnect it!";
    Uart::registerPortInitState();
    const Uart::PortInitState state = Uart::init(true);
    if (state == Uart::InitOk)
        linkUp();
    emit ReconnectResult(state);
}

void UartWorker::request(QByteArray data, Frame *frame)
{
    emit responsed(Uart::exchange(data, frame));
}

void UartWorker::uartErrorOccurred(QSerialPort::SerialPortError error)
{
    const QSerialPort *port = Uart::currentPort;
    qDebug() << "uartErrorOccurred :" << QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)
             << (port ? port->portName() : QString()) << (port && port->isOpen()) << Uart::isPortAlive();
    // A device that vanished behind an open port keeps reporting these until
    // the port is closed: take the link down once instead of listening on.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (QObject::disconnect(checkConnection))
        takeLinkDown();
}

void UartWorker::closeUart()
{
    qDebug() << "closeUart";
    QObject::disconnect(checkConnection);
    takeLinkDown();
}

void UartWorker::linkUp()
{
    ++linkGeneration;
    connected = true;
    portAlive = Uart::isPortAlive();
    QObject::disconnect(errorConnection);
    QObject::disconnect(checkConnection);
    if (Uart::currentPort)
        errorConnection = connect(Uart::currentPort, &QSerialPort::errorOccurred, this, &UartWorker::uartErrorOccurred);
    checkConnection = connect(&checkTimer, &QTimer::timeout, this, &UartWorker::checkPort);
}

void UartWorker::checkPort()
{
    if (!connected)
        return;
    const bool alive = Uart::isPortAlive();
    portAlive = alive;
    if (alive)
        return;
    // Ticks queued before the link went down find the connection gone.
    if (QObject::disconnect(checkConnection))
        takeLinkDown();
}

// The steps after the timer's connection to the port check is gone; they may
// run on the GUI thread (closeUart called directly), the release never does.
void UartWorker::takeLinkDown()
{
    QObject::disconnect(errorConnection);
    emit uartClosed();
    connected = false;
    portAlive = false;
    const int generation = linkGeneration.load();
    QTimer::singleShot(ReleaseDelayMs, this, [this, generation]() {
        if (generation == linkGeneration.load())
            Uart::closePort(true);
    });
}
