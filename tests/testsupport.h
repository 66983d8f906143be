#pragma once
// Shared helpers of the test programs: a simulated meter on a pseudo-terminal,
// answering modal dialogs, and running the report checks in Python.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QWidget;

namespace testsupport {

// Path of the simulator program built beside the tests.
QString metersimPath();

// One running lumisk-metersim. start() waits until the link exists.
class MeterSim
{
public:
    MeterSim();
    ~MeterSim();
    MeterSim(const MeterSim &) = delete;
    MeterSim &operator=(const MeterSim &) = delete;

    // Starts the simulator with --link <linkPath()> --log <logPath()> and args.
    bool start(const QStringList &args = {});
    // SIGTERM, then waits; the simulator removes its link.
    void stop();
    // A cable pulled in the middle of anything: SIGKILL (an answer being
    // written stops short), then the link goes as the device node would.
    void killNow();
    bool isRunning() const;
    QString linkPath() const { return m_link; }
    QString logPath() const { return m_log; }
    // The request log, one entry a line.
    QStringList logLines() const;
    QByteArray output();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_link;
    QString m_log;
};

// Makes exactly these device paths the ports the application sees.
void setSerialPorts(const QStringList &paths);

// Calls `action` on the next modal widget that becomes active (checked every
// 20 ms for up to timeoutMs). Used to answer message boxes and dialogs.
void onNextModal(std::function<void(QWidget *)> action, int timeoutMs = 10000);
// Clicks the child button with this object name in the next modal widget.
void clickInNextModal(const QString &buttonObjectName, int timeoutMs = 10000);

// Runs /usr/bin/python3 with a script from tests/ and arguments; returns the
// exit code and fills `output` with stdout+stderr.
int runPython(const QString &scriptRelativeToTests, const QStringList &args, QString *output);

} // namespace testsupport
