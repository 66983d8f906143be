// lumisk-metersim: a stand-in for a handheld optical power meter on a
// pseudo-terminal. See README.md for the options and the scenario format.

#include "faults.h"
#include "meter.h"
#include "records.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int DefaultRecordCount = 12;
constexpr int MaxParameterLength = 16;
// A request begun but not finished within this long is taken for line noise
// and scanning starts again one byte further on.
constexpr int StaleRequestMs = 200;
constexpr int BitsPerByte = 10;
constexpr int RangeNotGiven = -1000;

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t ignored = write(signalPipe[1], &byte, 1);
}

void usage()
{
    std::fprintf(stderr,
                 "usage: lumisk-metersim --link PATH [--log FILE] [--kind 1..10] [--range N] [--no-record-pages]\n"
                 "       [--model TEXT] [--version TEXT] [--records N] [--no-rtc] [--scenario FILE.json]\n"
                 "       [--busy N[@T]] [--not-ready N[@T]] [--bad-checksum [N][@T]] [--junk [N][@T]]\n"
                 "       [--need-reinit [N][@T]] [--trickle BAUD[@T]] [--silent-after N[@T]] [--unplug-after N[@T]]\n"
                 "       [--truncate N[:TIMES][@T]] [--random-faults PERCENT[:SEED]]\n"
                 "  T: record numbers and ranges (5,7,10-12) or all, records, id, count, rt, clock\n");
}

struct Options {
    QString link;
    QString log;
    QString scenario;
    int kind = -1;
    int range = RangeNotGiven;
    int records = -1;
    bool noRecordPages = false;
    bool noRtc = false;
    QByteArray model;
    QByteArray version;
};

class Simulator
{
public:
    Simulator(Meter &meter, Faults &faults, const Options &options)
        : meter(meter), faults(faults), options(options) {}
    ~Simulator() { unplug(); }

    bool open();
    int run();

private:
    void unplug();
    void parseInput();
    void handle(const Request &request);
    void logRequest(const Request &request);
    bool send(const QByteArray &bytes, int trickleBaud);

    Meter &meter;
    Faults &faults;
    const Options &options;
    int master = -1;
    int slave = -1;
    int logFd = -1;
    bool linked = false;
    bool unplugged = false;
    QByteArray input;
    QElapsedTimer sinceInput;
};

bool Simulator::open()
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("lumisk-metersim: pseudo-terminal");
        return false;
    }
    const char *slaveName = ptsname(master);
    if (!slaveName)
        return false;
    // Holding the slave open keeps the master readable while no host has the
    // port open, and lets the line be made raw before anyone opens it.
    slave = ::open(slaveName, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::perror("lumisk-metersim: slave");
        return false;
    }
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    settings.c_lflag &= ~tcflag_t(ECHO);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(slave, TCSANOW, &settings);

    const QByteArray link = options.link.toLocal8Bit();
    ::unlink(link.constData());
    if (::symlink(slaveName, link.constData()) != 0) {
        std::perror("lumisk-metersim: link");
        return false;
    }
    linked = true;
    if (!options.log.isEmpty()) {
        logFd = ::open(options.log.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (logFd < 0) {
            std::perror("lumisk-metersim: log");
            return false;
        }
    }
    std::printf("%s\n", link.constData());
    std::fflush(stdout);
    return true;
}

void Simulator::unplug()
{
    if (linked)
        ::unlink(options.link.toLocal8Bit().constData());
    linked = false;
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
    if (logFd >= 0)
        ::close(logFd);
    master = slave = logFd = -1;
}

int Simulator::run()
{
    char chunk[512];
    while (!unplugged) {
        pollfd fds[2] = {{master, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
        const int waitMs = input.isEmpty() ? -1 : StaleRequestMs;
        const int ready = poll(fds, 2, waitMs);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[1].revents & POLLIN)
            return 0;
        if (ready == 0) {
            if (!input.isEmpty() && sinceInput.elapsed() >= StaleRequestMs) {
                input.remove(0, 1);
                parseInput();
            }
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(master, chunk, sizeof chunk);
            if (got > 0) {
                input.append(chunk, int(got));
                sinceInput.start();
                parseInput();
            }
        }
    }
    return 0;
}

// Requests: class (1 or 2), parameter length, command, 0, parameters,
// checksum. Anything else is skipped a byte at a time.
void Simulator::parseInput()
{
    while (!input.isEmpty() && !unplugged) {
        const quint8 requestClass = quint8(input.at(0));
        if (requestClass != Meter::QueryClass && requestClass != Meter::SettingClass) {
            input.remove(0, 1);
            continue;
        }
        if (input.size() < 2)
            return;
        const int length = quint8(input.at(1));
        if (length > MaxParameterLength) {
            input.remove(0, 1);
            continue;
        }
        const int whole = 5 + length;
        if (input.size() < whole)
            return;
        const QByteArray bytes = input.left(whole);
        if (bytes.at(3) != 0 || wire::sum(bytes.left(whole - 1)) != quint8(bytes.at(whole - 1))) {
            input.remove(0, 1);
            continue;
        }
        input.remove(0, whole);
        Request request;
        request.requestClass = requestClass;
        request.command = quint8(bytes.at(2));
        request.parameters = bytes.mid(4, length);
        request.bytes = bytes;
        handle(request);
    }
}

void Simulator::logRequest(const Request &request)
{
    if (logFd < 0)
        return;
    const int number = request.recordNumber();
    const QByteArray line = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1() + '\t'
        + QByteArray::number(request.command, 16).rightJustified(2, '0').toUpper() + '\t'
        + (number < 0 ? QByteArray("-") : QByteArray::number(number)) + '\t' + request.bytes.toHex().toUpper() + '\n';
    [[maybe_unused]] ssize_t ignored = ::write(logFd, line.constData(), size_t(line.size()));
}

void Simulator::handle(const Request &request)
{
    logRequest(request);
    const Decision decision = faults.decide(request);
    if (decision.action == Decision::Silent)
        return;
    if (decision.action == Decision::Unplug) {
        unplug();
        unplugged = true;
        return;
    }
    QByteArray reply = decision.status ? wire::status(decision.status) : meter.answerFor(request);
    if (decision.corrupt)
        reply[reply.size() - 1] = char(quint8(reply.at(reply.size() - 1)) ^ 0x01);
    // A cut answer still begins: at least its first byte goes out.
    if (decision.cutBytes > 0)
        reply.chop(qMin(decision.cutBytes, reply.size() - 1));
    send(decision.junk + reply, decision.trickleBaud);
}

bool Simulator::send(const QByteArray &bytes, int trickleBaud)
{
    if (trickleBaud <= 0) {
        int done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += int(put);
        }
        return true;
    }
    // One byte per character time, against a fixed schedule so that the
    // rate holds however long each write takes. A sleep may otherwise end up
    // to 50 µs late (the kernel's default timer slack), which at 115 200 baud
    // would make every answer a few per cent slower than its line.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    const long nanosPerByte = long(1e9 * BitsPerByte / trickleBaud);
    timespec due{};
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (char byte : bytes) {
        if (::write(master, &byte, 1) != 1)
            return false;
        due.tv_nsec += nanosPerByte;
        while (due.tv_nsec >= 1000000000L) {
            due.tv_nsec -= 1000000000L;
            ++due.tv_sec;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
        }
    }
    return true;
}

bool takeValue(const QStringList &args, int &i, QString *value)
{
    if (i + 1 >= args.size())
        return false;
    *value = args.at(++i);
    return true;
}

// A fault flag's value is optional: the next word is taken when it looks like one.
QString optionalValue(const QStringList &args, int &i)
{
    if (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--")))
        return args.at(++i);
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Options options;
    Meter meter;
    Faults faults;
    struct FaultOption { const char *name; Fault *fault; bool optional; bool perRequest; };
    const FaultOption faultOptions[] = {
        {"--busy", &faults.busy, false, true},
        {"--not-ready", &faults.notReady, false, true},
        {"--bad-checksum", &faults.badChecksum, true, true},
        {"--junk", &faults.junk, true, true},
        {"--need-reinit", &faults.needReinit, true, true},
        {"--trickle", &faults.trickle, false, false},
        {"--silent-after", &faults.silentAfter, false, false},
        {"--unplug-after", &faults.unplugAfter, false, false},
    };

    for (int i = 1; i < args.size(); ++i) {
        QString arg = args.at(i);
        QString inlineValue;
        const int equals = arg.indexOf(QLatin1Char('='));
        const bool hasInline = arg.startsWith(QLatin1String("--")) && equals > 0;
        if (hasInline) {
            inlineValue = arg.mid(equals + 1);
            arg = arg.left(equals);
        }
        auto value = [&](QString *out) {
            if (hasInline) {
                *out = inlineValue;
                return true;
            }
            return takeValue(args, i, out);
        };
        auto intValue = [&](int *out) {
            QString text;
            bool ok = false;
            if (value(&text))
                *out = text.toInt(&ok, 0);
            return ok;
        };
        bool ok = true;
        QString text;
        const FaultOption *faultOption = nullptr;
        for (const FaultOption &candidate : faultOptions) {
            if (arg == QLatin1String(candidate.name))
                faultOption = &candidate;
        }
        if (faultOption) {
            if (hasInline)
                text = inlineValue;
            else if (faultOption->optional)
                text = optionalValue(args, i);
            else
                ok = takeValue(args, i, &text);
            QString error;
            if (ok && !Faults::parse(text, faultOption->optional, faultOption->perRequest, faultOption->fault, &error)) {
                std::fprintf(stderr, "lumisk-metersim: %s: %s\n", faultOption->name, qPrintable(error));
                return 2;
            }
        } else if (arg == QLatin1String("--link")) {
            ok = value(&options.link);
        } else if (arg == QLatin1String("--log")) {
            ok = value(&options.log);
        } else if (arg == QLatin1String("--scenario")) {
            ok = value(&options.scenario);
        } else if (arg == QLatin1String("--kind")) {
            ok = intValue(&options.kind) && options.kind >= 0 && options.kind <= 127;
        } else if (arg == QLatin1String("--range")) {
            ok = intValue(&options.range) && options.range >= -128 && options.range <= 127;
        } else if (arg == QLatin1String("--records")) {
            ok = intValue(&options.records) && options.records >= 0 && options.records <= 65535;
        } else if (arg == QLatin1String("--model")) {
            ok = value(&text);
            options.model = text.toUtf8();
        } else if (arg == QLatin1String("--version")) {
            ok = value(&text);
            options.version = text.toUtf8();
        } else if (arg == QLatin1String("--no-record-pages")) {
            options.noRecordPages = true;
        } else if (arg == QLatin1String("--truncate")) {
            QString error;
            ok = value(&text);
            if (ok && !faults.parseTruncate(text, &error)) {
                std::fprintf(stderr, "lumisk-metersim: --truncate: %s\n", qPrintable(error));
                return 2;
            }
        } else if (arg == QLatin1String("--random-faults")) {
            // PERCENT or PERCENT:SEED
            ok = value(&text);
            const QStringList parts = text.split(QLatin1Char(':'));
            bool okPercent = false;
            bool okSeed = true;
            const int percent = parts.value(0).toInt(&okPercent);
            const uint seed = parts.size() > 1 ? parts.at(1).toUInt(&okSeed) : 1;
            ok = ok && okPercent && okSeed && parts.size() <= 2 && percent >= 0 && percent <= 100;
            if (ok)
                faults.setRandomFaults(percent, seed);
        } else if (arg == QLatin1String("--no-rtc")) {
            options.noRtc = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage();
            return 0;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "lumisk-metersim: bad or incomplete option %s\n", qPrintable(args.at(i)));
            usage();
            return 2;
        }
    }
    if (options.link.isEmpty()) {
        usage();
        return 2;
    }

    if (!options.scenario.isEmpty()) {
        QString error;
        if (!meter.loadScenario(options.scenario, &error)) {
            std::fprintf(stderr, "lumisk-metersim: %s\n", qPrintable(error));
            return 2;
        }
    }
    if (options.kind >= 0) {
        if (options.kind != meter.kind && options.model.isEmpty())
            meter.model.clear();
        meter.kind = options.kind;
    }
    if (options.range != RangeNotGiven)
        meter.range = options.range;
    if (options.noRecordPages)
        meter.recordPages = false;
    if (options.noRtc)
        meter.rtc = false;
    if (!options.model.isEmpty())
        meter.model = options.model;
    if (!options.version.isEmpty())
        meter.version = options.version;
    meter.applyKindDefaults();
    int count = options.records;
    if (count < 0)
        count = meter.generateCount >= 0 ? meter.generateCount : (options.scenario.isEmpty() ? DefaultRecordCount : 0);
    meter.generateRecords(count);

    if (pipe(signalPipe) != 0)
        return 1;
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    Simulator simulator(meter, faults, options);
    if (!simulator.open())
        return 1;
    return simulator.run();
}
