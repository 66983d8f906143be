#pragma once
// The serial transport to one handheld meter: finds the meter among the
// serial ports, opens and configures the port, identifies the meter, carries
// out every request/answer exchange and closes the port again. All of it runs
// on the link worker's thread, one operation at a time; only a scan's probes
// run on threads of their own (PortProber), and the worker waits for them.

#include "frame.h"
#include "link/portdiagnosis.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

class QSerialPort;
struct DevDatas;

class Uart
{
public:
    enum PortInitState {
        InitOk = 0,         // a port is open and the meter answered every identity request
        InitFailed = 1,     // no port could be opened, or no meter answered
        SeveralDevices = 2, // meters answered on two or more ports: the user picks one
    };

    // The port the user chose among several meters and the rate a chosen or
    // known port is opened at. Whoever opens the link holds it and hands it
    // over with each opening; a scan always runs at ScanBaudRate.
    struct Settings {
        static constexpr int ScanBaudRate = 9600;
        QString portName;
        int baudRate = ScanBaudRate;
    };

    // Start of a connection: a fresh scan at 9600 baud, or (reconnect) the
    // current port opened again at the settings' rate.
    static PortInitState init(bool reconnect, const Settings &settings);
    static PortInitState init(bool reconnect); // at the settings' defaults
    static PortInitState scanPorts();
    // Opens the port named in the settings at their rate.
    static PortInitState openSelectedPort(const Settings &settings);
    static PortInitState reopenPort(int baudRate);

    // One device-type request on the current port (is there a meter?).
    static ParseResult readaDevInfos();
    // Device type, model and version into DevDatas; DataOk when all three
    // answered.
    static ParseResult readDevInfos();
    // The same on a port of the caller's (open and configured), into
    // identity; the link's own state is not touched.
    static ParseResult readDevInfos(QSerialPort *port, DevDatas *identity);
    // One request and its answer, read into frame (which stays the caller's).
    // Incomplete when the meter never answered, CheckFailed when the answer
    // was spoiled or, asked again as often as allowed, kept stopping short.
    static ParseResult exchange(const QByteArray &request, Frame *frame);
    // The same on the given port; heardBytes (if given) tells whether any
    // byte at all came back in this exchange.
    static ParseResult exchange(QSerialPort *port, const QByteArray &request, Frame *frame,
                                bool *heardBytes = nullptr);

    // The current port is still listed, open and held by us.
    static bool isPortAlive();
    // Closes the current port; with release also destroys and forgets it.
    static void closePort(bool release);
    // Destroys every port held (current and candidates); used at shutdown.
    static void releaseAll();

    // What the last scan, port choice or reopen found on each port it could
    // not use (for the message after InitFailed). Safe from any thread.
    static QList<PortDiagnosis::PortReport> lastPortReports();

    // Registers PortInitState and Settings for queued connections (safe to
    // call often).
    static void registerPortInitState();

    // The port settings at rate: 8 data bits, no flow control, no parity, one
    // stop bit.
    static void configure(QSerialPort *port, int rate);
    // The identity requests on port (all three with full, else the device
    // type alone) into identity, stopping at the first that fails; heard
    // tells whether the last of them brought any byte.
    static ParseResult identify(QSerialPort *port, DevDatas *identity, bool full, bool *heard);

    // Ports on which a meter answered during the last scan (owned here, closed
    // until one is chosen) and their names, in the same order.
    static QList<QSerialPort *> candidatePorts;
    static QStringList candidatePortNames;
    // The port every exchange uses; may also be held in candidatePorts.
    static QSerialPort *currentPort;

private:
    static void destroyPort(QSerialPort *port);
    static bool isListed(const QSerialPort *port);
    // Opens port (configured) and asks for the meter's identity (all three
    // requests with full); on failure notes why on the port's report.
    static bool openAndIdentify(QSerialPort *port, const QString &path, bool full);
    static void noteReport(const PortDiagnosis::PortReport &report);
    static void clearReports();

    // Whether the last exchange brought any byte at all.
    static bool heardBytes;
};

Q_DECLARE_METATYPE(Uart::PortInitState)
Q_DECLARE_METATYPE(Uart::Settings)
