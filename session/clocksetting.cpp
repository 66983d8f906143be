#include "session/clocksetting.h"

#include "link/requestledger.h"
#include "link/commands.h"
#include "link/frame.h"

#include <QTimer>

namespace {
constexpr int ClockCommandDelayMs = 500;
}

ClockSetting::ClockSetting(RequestLedger *ledger, Sender send, std::function<bool()> portAlive,
                           QObject *parent)
    : QObject(parent), ledger(ledger), send(std::move(send)), portAlive(std::move(portAlive))
{
}

ClockSetting::~ClockSetting()
{
    drop();
}

void ClockSetting::start()
{
    sendIdentity();
    QTimer::singleShot(ClockCommandDelayMs, this, &ClockSetting::sendTime);
}

void ClockSetting::freshFrame()
{
    if (pending && ledger->isInFlight(pending)) {
        // Still being filled by an earlier request: never reset it under the
        // worker's hands, take a new one.
        ledger->retire(pending);
        pending = new Frame;
    } else if (!pending) {
        pending = new Frame;
    } else {
        pending->reset();
    }
}

void ClockSetting::sendIdentity()
{
    if (!portAlive())
        return;
    for (const QByteArray &command : {Command::devType(), Command::devModel(), Command::devVersion()}) {
        freshFrame();
        send(command, pending);
    }
    freshFrame();
}

void ClockSetting::sendTime()
{
    if (!pending)
        return;
    freshFrame();
    const QDateTime time = now();
    const QDate date = time.date();
    const QTime clock = time.time();
    send(Command::setClock(date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()),
         pending);
}

void ClockSetting::drop()
{
    ledger->retire(pending);
    pending = nullptr;
}
