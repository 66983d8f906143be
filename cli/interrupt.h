#pragma once
// Ctrl-C (SIGINT) and SIGTERM, turned into a Qt signal on the main thread
// through a self-pipe, so that a running command stops cleanly: what arrived
// is written, the history is committed, the port released.

#include <QObject>

class QSocketNotifier;

class Interrupt : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers on first use.
    static Interrupt *instance();
    bool requested() const { return wasRequested; }

signals:
    void arrived();

private:
    Interrupt();
    void readPipe();

    QSocketNotifier *notifier = nullptr;
    bool wasRequested = false;
};
