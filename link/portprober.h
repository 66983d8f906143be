#pragma once
// Asks every serial port at once whether a meter is there. Each port gets its
// own port object on a thread of its own (at most MaxConcurrent at a time) and
// the link's own exchange with its waits and re-sends, so a port that never
// answers costs one probe time however many there are. The results come back
// in the order of the ports given, and the log lines of each probe are held
// back and written together, port after port in that order, once all are done.

#include "link/devdatas.h"
#include "link/frame.h"
#include "link/serialportlist.h"

#include <QList>
#include <QString>

class PortProber
{
public:
    static constexpr int MaxConcurrent = 16;

    struct Result {
        SerialPortList::Entry entry;
        bool opened = false;
        bool permissionError = false; // the port reported a permission error when opening
        QString openError;            // the port's reason when it could not be opened
        ParseResult answer = Incomplete;
        bool heard = false; // any byte came back at all
        DevDatas identity;  // what the meter told (this probe's own record)

        bool meter() const { return opened && answer == DataOk; }
    };

    // Opens each port at baudRate and asks for the device type (with full,
    // also the model and the version). The ports are closed and destroyed
    // again before this returns; the calling thread waits meanwhile.
    static QList<Result> probe(const QList<SerialPortList::Entry> &entries, int baudRate, bool full);
};
