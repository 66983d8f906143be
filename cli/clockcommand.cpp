// set-clock: the meter's clock to the PC's local time, or to a given time,
// through the same MeterSession and clock setting sequence the window sends.

#include "cli/cli.h"
#include "cli/interrupt.h"
#include "cli/meterlink.h"

#include "session/clocksetting.h"
#include "session/metersession.h"
#include "link/valueformat.h"

#include <QEventLoop>

int runSetClock(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption time({QStringLiteral("t"), QStringLiteral("time")},
                                  Cli::Text::tr("The time to set, ISO 8601 (2024-05-01T08:30:00; with an offset or Z "
                                                "it is taken to the PC's local time). Default: now."),
                                  Cli::Text::tr("time"));
    parser.addOptions({time, Cli::portOption(), Cli::baudOption(), Cli::quietOption()});
    int code = Cli::Done;
    if (!Cli::parse(parser, QStringLiteral("set-clock"), QStringLiteral("[--time ISO8601] [--port PORT]"),
                    Cli::Text::tr("Sets the meter's clock (by default to the PC's local time)."), arguments, &code))
        return code;
    int baud = 0;
    if (!Cli::baudRate(parser, &baud))
        return Cli::Usage;
    QDateTime given;
    if (parser.isSet(time)) {
        given = QDateTime::fromString(parser.value(time), Qt::ISODate);
        if (!given.isValid() || given.toLocalTime().date().year() < 2000 || given.toLocalTime().date().year() > 2099) {
            Cli::err(Cli::Text::tr("lumisk-cli set-clock: not a time (ISO 8601, 2000 to 2099): %1").arg(parser.value(time)));
            return Cli::Usage;
        }
        given = given.toLocalTime();
    }

    Interrupt *interrupt = Interrupt::instance();
    PortReport meter;
    code = MeterLink::choose(parser.value(QStringLiteral("port")), baud, &meter);
    if (code != Cli::Done)
        return code;
    MeterLink link;
    if (!link.open(meter.name, baud)) {
        Cli::err(Cli::Text::tr("lumisk-cli: the meter on %1 did not answer when the port was opened").arg(meter.name));
        return Cli::MeterFailed;
    }
    MeterSession session(MeterSession::through(link.linkWorker()));
    link.attach(&session);
    ClockSetting &clock = *session.clock();
    QDateTime sent;
    clock.setClock([&]() {
        sent = given.isValid() ? given : QDateTime::currentDateTime();
        return sent;
    });

    QEventLoop loop;
    int outcome = -1;
    QString message;
    auto stop = [&](int exitCode, const QString &text) {
        if (outcome >= 0)
            return;
        outcome = exitCode;
        message = text;
        loop.quit();
    };
    QObject::connect(&session, &MeterSession::clockSet, [&]() { stop(Cli::Done, QString()); });
    QObject::connect(&session, &MeterSession::clockHasNoRtc,
                     [&]() { stop(Cli::MeterFailed, Cli::Text::tr("the meter has no clock")); });
    QObject::connect(&session, &MeterSession::clockRefused, [&](ParseResult result) {
        stop(Cli::MeterFailed, Cli::Text::tr("the meter did not take the time (answer %1)").arg(int(result)));
    });
    QObject::connect(&link, &MeterLink::closed,
                     [&]() { stop(Cli::MeterFailed, Cli::Text::tr("the meter went away (port closed)")); });
    QObject::connect(interrupt, &Interrupt::arrived, [&]() { stop(Cli::Interrupted, Cli::Text::tr("interrupted")); });
    if (interrupt->requested()) {
        stop(Cli::Interrupted, Cli::Text::tr("interrupted"));
    } else {
        clock.start();
        loop.exec();
    }
    clock.drop();
    if (outcome != Cli::Done) {
        Cli::err(QStringLiteral("lumisk-cli: ") + message);
        return outcome;
    }
    Cli::note(Cli::Text::tr("clock of %1 set to %2")
                  .arg(meter.name, ValueFormat::dateTimeText(sent, QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    return Cli::Done;
}
