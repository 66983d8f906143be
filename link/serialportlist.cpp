#include "serialportlist.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>

#include <dirent.h>
#include <unistd.h>

namespace {
constexpr char PortListVariable[] = "LUMISK_SERIAL_PORTS";
constexpr char DevPrefix[] = "/dev/";
constexpr char OwnDescriptors[] = "/proc/self/fd";

// QSerialPort names a device under /dev/ by its short name and anything else
// by its path; the listed entries follow the same rule so names compare equal.
QString nameForLocation(const QString &location)
{
    return location.startsWith(QLatin1String(DevPrefix)) ? location.mid(int(sizeof(DevPrefix)) - 1) : location;
}
} // namespace

QList<SerialPortList::Entry> SerialPortList::available()
{
    QList<Entry> entries;
    if (!qEnvironmentVariableIsSet(PortListVariable)) {
        const auto infos = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &info : infos) {
            Entry entry;
            entry.name = info.portName();
            entry.systemLocation = info.systemLocation();
            entry.busy = info.isBusy();
            entry.info = info;
            entries.append(entry);
        }
        return entries;
    }
    const QStringList paths = QString::fromLocal8Bit(qgetenv(PortListVariable)).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &listed : paths) {
        const QString location = QDir::cleanPath(QFileInfo(listed).absoluteFilePath());
        if (!QFileInfo::exists(location))
            continue;
        Entry entry;
        entry.name = nameForLocation(location);
        entry.systemLocation = location;
        entry.busy = isHeldOpen(location);
        entries.append(entry);
    }
    return entries;
}

QSerialPort *SerialPortList::createPort(const Entry &entry)
{
    if (!entry.info.isNull())
        return new QSerialPort(entry.info);
    auto *port = new QSerialPort;
    port->setPortName(entry.systemLocation);
    return port;
}

bool SerialPortList::isHeldOpen(const QString &path)
{
    const QByteArray device = QFileInfo(path).canonicalFilePath().toLocal8Bit();
    if (device.isEmpty())
        return false;
    DIR *dir = opendir(OwnDescriptors);
    if (!dir)
        return false;
    bool held = false;
    char target[512];
    while (dirent *item = readdir(dir)) {
        if (item->d_name[0] == '.')
            continue;
        QByteArray link(OwnDescriptors);
        link += '/';
        link += item->d_name;
        const ssize_t length = readlink(link.constData(), target, sizeof(target) - 1);
        if (length <= 0)
            continue;
        if (device == QByteArray(target, int(length))) {
            held = true;
            break;
        }
    }
    closedir(dir);
    return held;
}
