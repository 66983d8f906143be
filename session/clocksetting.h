#pragma once
// Setting the meter's clock: the three identity commands again (the meter
// wants to be addressed before it takes a clock), then, half a second later,
// the clock command with the PC's local time. All four answers go into one
// frame of this object's, renewed before each request.

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <functional>

class Frame;
class RequestLedger;

class ClockSetting : public QObject
{
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray &, Frame *)>;
    using Clock = std::function<QDateTime()>;

    ClockSetting(RequestLedger *ledger, Sender send, std::function<bool()> portAlive,
                 QObject *parent = nullptr);
    ~ClockSetting() override;

    // The clock the command takes its time from (the PC's local time unless
    // replaced).
    void setClock(Clock clock) { now = std::move(clock); }

    // The whole sequence: identity commands now, clock command after the delay.
    void start();
    // The identity commands only (nothing when the port is gone).
    void sendIdentity();
    // The clock command; nothing when the sequence was dropped meanwhile.
    void sendTime();
    // The sequence has ended (an answer came, or the link was reopened): its
    // frame is given up.
    void drop();

    // This frame carries the sequence's answers.
    bool owns(const Frame *frame) const { return pending && frame == pending; }

private:
    void freshFrame();

    RequestLedger *ledger;
    Sender send;
    std::function<bool()> portAlive;
    Clock now = [] { return QDateTime::currentDateTime(); };
    Frame *pending = nullptr;
};
