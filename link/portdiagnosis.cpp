#include "link/portdiagnosis.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

PortDiagnosis::Finding PortDiagnosis::findingForOpenError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return Finding::PermissionDenied;
    // A terminal another program has put into exclusive use (TIOCEXCL)
    // refuses everyone else with EBUSY.
    case EBUSY:
        return Finding::HeldByOther;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return Finding::Gone;
    default:
        return Finding::OpenFailed;
    }
}

int PortDiagnosis::openErrno(const char *path)
{
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

PortDiagnosis::PortReport PortDiagnosis::diagnoseOpenFailure(const QString &port, const QString &path,
                                                             bool permissionError, const QString &portError)
{
    PortReport report;
    report.port = port;
    const int error = openErrno(path.toLocal8Bit().constData());
    if (error == 0) {
        // The device opens, so the port's own lock stood in the way: the
        // lock file another program made when it opened the device.
        report.finding = permissionError ? Finding::HeldByOther : Finding::OpenFailed;
        report.detail = permissionError ? tr("lock file") : portError;
        return report;
    }
    report.finding = findingForOpenError(error);
    if (report.finding == Finding::HeldByOther)
        report.detail = tr("exclusive use");
    else if (report.finding == Finding::OpenFailed)
        report.detail = QString::fromLocal8Bit(std::strerror(error));
    return report;
}

QString PortDiagnosis::describe(const PortReport &report)
{
    switch (report.finding) {
    case Finding::PermissionDenied:
        return tr("%1: permission denied. Serial ports belong to the dialout group: "
                  "sudo usermod -aG dialout $USER, then log in again.")
            .arg(report.port);
    case Finding::HeldByOther:
        return tr("%1: held by another program (%2); close it (a serial terminal, ModemManager).")
            .arg(report.port, report.detail);
    case Finding::NoAnswer:
        return tr("%1: opened, but no meter answered.").arg(report.port);
    case Finding::NotAMeter:
        return tr("%1: something answered, but not a known meter.").arg(report.port);
    case Finding::Gone:
        return tr("%1: the device went away.").arg(report.port);
    case Finding::OpenFailed:
        break;
    }
    return tr("%1: could not be opened (%2).").arg(report.port, report.detail);
}

QString PortDiagnosis::message(const QString &headline, const QList<PortReport> &reports)
{
    QStringList lines{headline};
    if (reports.isEmpty())
        lines << tr("No serial port found.");
    for (const PortReport &report : reports)
        lines << describe(report);
    return lines.join(QLatin1Char('\n'));
}
