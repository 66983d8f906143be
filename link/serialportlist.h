#pragma once
// The serial ports the transport may use: the machine's own ports, or, when
// LUMISK_SERIAL_PORTS is set, exactly the colon-separated device paths listed
// there that exist now (pseudo-terminals standing in for a meter). A listed
// path is present while it exists and busy while this process holds it open.

#include <QList>
#include <QSerialPortInfo>
#include <QString>

class QSerialPort;

class SerialPortList
{
public:
    struct Entry {
        QString name;           // what QSerialPort::portName() reports for it
        QString systemLocation; // the device path
        bool busy = false;
        QSerialPortInfo info;   // null for a listed path
    };

    static QList<Entry> available();
    // A new, closed port for the entry, without parent.
    static QSerialPort *createPort(const Entry &entry);
    // Whether this process has the device behind path open.
    static bool isHeldOpen(const QString &path);
};
