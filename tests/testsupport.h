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

// A serial port that never answers: a pseudo-terminal whose other end is
// held open and never read. path() is empty when none could be made.
class SilentPort
{
public:
    SilentPort();
    ~SilentPort();
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;
    QString path() const { return m_path; }

private:
    int m_master = -1;
    QString m_path;
};

// Makes exactly these device paths the ports the application sees.
void setSerialPorts(const QStringList &paths);

// ---- Answering modal dialogs -------------------------------------------
// One mechanism for every test program. Each call arms one answer for the
// next modal widget that becomes active (checked every 10 ms). The current
// test FAILS, rather than carrying on quietly, when
//   - no such modal comes up within timeoutMs,
//   - the test function that armed the answer ends before its modal came up
//     (reported in the test that runs next, naming the one that armed it),
//   - a button asked for by name is missing (the modal is then closed, so
//     that nothing hangs).
// className, when given, waits for a modal of that class (QObject::inherits),
// so that another modal still on top (a dialog that is closing) is waited out.
void onNextModal(std::function<void(QWidget *)> action, int timeoutMs = 10000);
void onNextModal(const char *className, std::function<void(QWidget *)> action, int timeoutMs = 10000);
// Clicks the child button with this object name in the next modal widget.
void clickInNextModal(const QString &buttonObjectName, int timeoutMs = 10000);
// Answers the next MessageDialog with the named button ("yesBtn" is also the
// "OK" of a one-button box) and keeps its message text in *text.
void answerMessage(const QString &buttonObjectName, QString *text = nullptr, int timeoutMs = 10000);
// For use inside an action: clicks the named button of `modal`; a missing
// button fails the current test, closes the modal and returns false.
bool clickButton(QWidget *modal, const QString &buttonObjectName);
// Lets the event loop run for ms and fails the current test if a modal
// widget comes up meanwhile (it is closed, so that nothing hangs). Returns
// true when none came up.
bool noModalFor(int ms);
// Answers armed but not yet used; testmain fails a test class that leaves
// any behind and drops them.
int pendingModalAnswers();
void dropModalAnswers();

// Runs /usr/bin/python3 with a script from tests/ and arguments; returns the
// exit code and fills `output` with stdout+stderr.
int runPython(const QString &scriptRelativeToTests, const QStringList &args, QString *output);

} // namespace testsupport
