#pragma once
// The link worker: a process-wide object in a thread of its own that owns the
// serial port. The main window talks to it through queued signals and slots;
// only closeUart(), isPortAlive(), isConnected() and setConnected() are called
// directly from the GUI thread.

#include "frame.h"
#include "uart.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <atomic>

class QThread;

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
    void uartErrorOccurred(QSerialPort::SerialPortError error);
    void closeUart();

private:
    UartWorker();
    ~UartWorker() override;

    void linkUp();
    void checkPort();
    void takeLinkDown();
    static void shutdown();

    QTimer checkTimer;
    std::atomic<bool> connected{false};
    std::atomic<bool> portAlive{false};
    // Counts link-ups, so that the delayed release of a link that went down
    // never takes the port of a newer link.
    std::atomic<int> linkGeneration{0};
    QMetaObject::Connection checkConnection;
    QMetaObject::Connection errorConnection;
    QThread *workerThread = nullptr;
};
