#include "cli/interrupt.h"

#include "cli/cli.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t signalCount = 0;

void onSignal(int)
{
    // A second Ctrl-C while the first is being handled (a meter that holds
    // the line) ends the program at once.
    if (++signalCount > 1)
        ::_exit(130);
    const char byte = 1;
    // Nothing to do when the pipe is full: an interruption is already waiting.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}
} // namespace

Interrupt *Interrupt::instance()
{
    static Interrupt *interrupt = new Interrupt;
    return interrupt;
}

Interrupt::Interrupt() : QObject(QCoreApplication::instance())
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &Interrupt::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void Interrupt::request()
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}

void Interrupt::readPipe()
{
    char buffer[16];
    while (::read(pipeEnds[0], buffer, sizeof(buffer)) > 0) {
    }
    if (wasRequested)
        return;
    wasRequested = true;
    if (Cli::outputClosed()) {
        code = Cli::OutputClosed;
    } else if (Cli::outputFailed()) {
        code = Cli::FileFailed;
        why = Cli::Text::tr("standard output failed");
    } else {
        code = Cli::Interrupted;
        why = Cli::Text::tr("interrupted");
    }
    emit arrived();
}
