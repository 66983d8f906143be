#pragma once
// The meter as the command-line tool sees it: probing every serial port for
// a meter (every port at once, each on a port object of its own), choosing the
// port to use, and then the link worker on its own thread for the exchanges,
// talked to through a MeterSession exactly as the window talks to it.

#include "link/serialportlist.h"
#include "link/uart.h"

#include <QList>
#include <QObject>
#include <QString>

class MeterSession;
class UartWorker;

// What one port said to a probe.
struct PortReport {
    QString name;
    QString location;
    bool opened = false;
    QString problem; // why it could not be opened, or why no meter answered
    bool meter = false;
    int kind = 0;
    int rangeCode = 0;
    bool recordPages = true;
    QString model;
    QString version;

    // "ttyUSB0: LM-OPM500 V2.1.07 (kind 5)" or "ttyUSB0: <problem>".
    QString summary() const;
};

class MeterLink : public QObject
{
    Q_OBJECT
public:
    // Every port of the machine (or of LUMISK_SERIAL_PORTS), each opened at
    // this rate and asked for the meter's identity.
    static QList<PortReport> probeAll(int baud);
    static PortReport probe(const SerialPortList::Entry &entry, int baud);

    // The port to use: the one named by `port`, or the only meter found when
    // it is empty. A path the port list does not show (a pseudo-terminal) is
    // taken as LUMISK_SERIAL_PORTS would take it. Returns a Cli exit code:
    // Done with *chosen filled, NoMeter after listing what was found.
    static int choose(const QString &port, int baud, PortReport *chosen);

    explicit MeterLink(QObject *parent = nullptr);
    ~MeterLink() override;

    // Opens the chosen port on the worker's thread and reads the identity
    // into DevDatas. Blocks (running the event loop) until it is done.
    bool open(const QString &portName, int baud);
    UartWorker *linkWorker() const { return worker; }
    // The session's requests go to the worker, the worker's results to the
    // session.
    void attach(MeterSession *session);
    // Opens the same port again (after a need-reinit answer): reopened().
    void reopen();
    bool isAlive() const;

signals:
    void closed();
    void reopened(bool ok);

    // To the worker.
    void openRequested();
    void reopenRequested();

private:
    UartWorker *worker;
};
