#pragma once
// A cold start of the application, timed from a new process to the end of
// the main window's first paint. The benchmark program starts itself again
// with ChildFlag; the child runs the application's own start-up code
// (runApplication, as `lumisk` runs it), prints the monotonic time of its
// first painted window and quits.

#include "app/application.h"
#include "app/mainwindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace firstpaint {

constexpr char ChildFlag[] = "--startup-child";
constexpr int ChildTimeoutMs = 30000;

inline qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Sees the window's first paint through; once that paint is done (the zero
// timer runs after the whole paint pass), tells the time and quits.
class Watcher : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            QTimer::singleShot(0, []() {
                std::printf("%lld\n", static_cast<long long>(monotonicNs()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool seen = false;
};

inline int runChild(int argc, char **argv)
{
    Watcher watcher;
    return runApplication(argc, argv, [&watcher](MainWindow &window) { window.installEventFilter(&watcher); });
}

// One start of the application; its monotonic time of the first paint, or -1.
inline qint64 startOnce(const QProcessEnvironment &environment, qint64 *started)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    *started = monotonicNs();
    child.start(QStringLiteral("/proc/self/exe"), {QString::fromLatin1(ChildFlag)});
    if (!child.waitForFinished(ChildTimeoutMs) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const qint64 painted = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    return ok ? painted : -1;
}

} // namespace firstpaint
