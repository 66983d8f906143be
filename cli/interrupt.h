#pragma once
// Ctrl-C (SIGINT) and SIGTERM, turned into a Qt signal on the main thread
// through a self-pipe, so that a running command stops cleanly: what arrived
// is written, the history is committed, the port released. Standard output
// that fails stops a command the same way (see Cli::out).

#include <QObject>
#include <QString>

class QSocketNotifier;

class Interrupt : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers on first use.
    static Interrupt *instance();
    bool requested() const { return wasRequested; }
    // Asks for the stop from the program itself; arrived() follows from the
    // event loop, never from inside the caller.
    void request();

    // Once arrived: the exit code (130 for a signal, 141 when the reader of
    // standard output went away, 5 when standard output failed) and what to
    // say ("interrupted"; nothing for a reader that went, as other tools).
    int exitCode() const { return code; }
    QString reason() const { return why; }

signals:
    void arrived();

private:
    Interrupt();
    void readPipe();

    QSocketNotifier *notifier = nullptr;
    bool wasRequested = false;
    int code = 0;
    QString why;
};
