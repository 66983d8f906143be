#pragma once
// What a scan found on each serial port, told to the user below "Failed to
// connect device": permission denied (with the dialout hint), held by
// another program, opened but silent, answering but not as a meter.

#include <QCoreApplication>
#include <QList>
#include <QString>

class PortDiagnosis
{
    Q_DECLARE_TR_FUNCTIONS(PortDiagnosis)

public:
    enum class Finding {
        PermissionDenied, // the device's permissions keep us out
        HeldByOther,      // another program holds it (exclusive use or a lock file)
        NoAnswer,         // opened, but nothing came back
        NotAMeter,        // bytes came back, but no meter's answer
        Gone,             // the device went away before it could be opened
        OpenFailed,       // any other reason; detail says which
    };
    struct PortReport {
        QString port;
        Finding finding = Finding::OpenFailed;
        QString detail;
    };

    // The finding for the errno of a failed open(2) of the device.
    static Finding findingForOpenError(int error);
    // Opens the device read/write the way the port is opened (no controlling
    // terminal, not waiting for a carrier) and closes it again: 0 when it
    // opens, else errno. Only open(2) and close(2): safe in a forked child.
    static int openErrno(const char *path);
    // Why QSerialPort could not open the device at path: it is opened once
    // more directly to learn the system's reason. permissionError: the port
    // reported a permission error (when the device itself then opens, that
    // error came from the port's lock file, which another program holds).
    static PortReport diagnoseOpenFailure(const QString &port, const QString &path, bool permissionError,
                                          const QString &portError);

    // One translated line per report.
    static QString describe(const PortReport &report);
    // headline, then the lines (or that no serial port was there at all).
    static QString message(const QString &headline, const QList<PortReport> &reports);
};
