#pragma once
// The link worker: a process-wide object in a thread of its own that runs
// every exchange on the serial port (the port itself is held by Uart) and owns
// the port's supervision timer. The main window talks to it through
// queued signals and slots; only closeUart(), isPortAlive(), isConnected() and
// setConnected() are called directly from the GUI thread, and those hand
// everything that touches the port, the timer or their connections over to
// the worker's thread.

#include "frame.h"
#include "uart.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QSerialPort>
#include <atomic>

class QThread;
class QTimer;

class UartWorker : public QObject
{
    Q_OBJECT
public:
    // The single worker, created and moved into its own thread on first use.
    static UartWorker *instance();

    // Safe from any thread: the worker keeps the answer current.
    bool isPortAlive() const;
    bool isConnected() const;
    // Stores the flag and closes and releases the port.
    void setConnected(bool value);
    // The supervision timer; it lives on the worker's thread.
    const QTimer *supervisionTimer() const;
    // From any thread: following requests of this chain may go out (0: none
    // may). A download opens a chain of its own and closes it when it stops.
    void openChain(quint64 chain);
    // From any thread: the port and rate that initUartOutPoint() opens next
    // and reinitUart() opens again. Queued like every request, so a choice
    // made before asking for the port is the one used; a fresh scan
    // (initUart()) forgets it and goes back to 9600 baud.
    void choosePort(const Uart::Settings &settings);

signals:
    void uartInited(Uart::PortInitState state);
    void responsed(ParseResult data);
    void uartClosed();
    void ReconnectResult(Uart::PortInitState state);

public slots:
    void initUart();
    void initUartOutPoint();
    void reinitUart();
    // The frame belongs to the sender; the worker neither keeps nor deletes it.
    void request(QByteArray data, Frame *frame);
    // A request queued behind another one while that one is still out, so
    // that the line never waits for the window between two records. It goes
    // out only if the exchange just before it brought data and its chain is
    // still open; otherwise it is answered Skipped and the meter hears
    // nothing of it.
    void requestFollowing(QByteArray data, Frame *frame, quint64 chain);
    void uartErrorOccurred(QSerialPort::SerialPortError error);
    // From any thread: reports the link closed at once (on the caller's
    // thread) and releases the port on the worker's thread.
    void closeUart();

private:
    UartWorker();
    ~UartWorker() override;

    bool onWorkerThread() const;
    void makeCheckTimer();
    void linkUp();
    void checkPort();
    void takeLinkDown();
    static void shutdown();

    // Made on the worker's thread as its event loop starts, a child of the
    // worker; its connections are only ever made and broken there.
    QTimer *checkTimer = nullptr;
    std::atomic<bool> connected{false};
    std::atomic<bool> portAlive{false};
    // Counts link-ups, so that the delayed release of a link that went down
    // never takes the port of a newer link.
    std::atomic<int> linkGeneration{0};
    std::atomic<quint64> chainOpen{0};
    // The result of the last exchange; only the worker's thread touches it.
    ParseResult lastResult = Incomplete;
    // The chosen port and rate; only the worker's thread touches them.
    Uart::Settings portSettings;
    QMetaObject::Connection checkConnection;
    QMetaObject::Connection errorConnection;
    QThread *workerThread = nullptr;
};
