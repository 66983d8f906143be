#include "cli/cli.h"

#include "cli/interrupt.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Cli {

namespace {
bool beQuiet = false;
constexpr int DefaultBaudRate = 9600;
// errno of the first write to standard output that failed; 0 while it works.
int outputError = 0;

void outputLost(int error)
{
    outputError = error != 0 ? error : EIO;
    Interrupt::instance()->request();
}
} // namespace

void out(const QString &text)
{
    if (outputError != 0)
        return;
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0)
        outputLost(errno);
}

void outLine(const QString &text)
{
    out(text + QLatin1Char('\n'));
}

void err(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool outputClosed()
{
    return outputError == EPIPE;
}

bool outputFailed()
{
    return outputError != 0 && outputError != EPIPE;
}

int finish(int code)
{
    if (outputError == 0) {
        errno = 0;
        if (std::fflush(stdout) != 0)
            outputError = errno != 0 ? errno : EIO;
    }
    if (outputClosed())
        return code == Done || code == OutputClosed ? OutputClosed : code;
    if (outputFailed()) {
        err(Text::tr("lumisk-cli: cannot write to standard output: %1").arg(QString::fromLocal8Bit(std::strerror(outputError))));
        return code == Done ? FileFailed : code;
    }
    return code;
}

void setQuiet(bool quiet)
{
    beQuiet = quiet;
}

bool quiet()
{
    return beQuiet;
}

void note(const QString &line)
{
    if (!beQuiet)
        err(line);
}

bool parse(QCommandLineParser &parser, const QString &command, const QString &synopsis,
           const QString &description, const QStringList &arguments, int *exitCode)
{
    parser.setApplicationDescription(description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, Text::tr("Show this help."));
    parser.addOption(help);
    QStringList all{QStringLiteral("lumisk-cli")};
    all << arguments;
    // The usage line QCommandLineParser makes knows no subcommand: ours instead.
    const QString usage = Text::tr("Usage: lumisk-cli %1 %2").arg(command, synopsis);
    auto helpText = [&]() {
        QString text = parser.helpText();
        const int firstLineEnd = text.indexOf(QLatin1Char('\n'));
        return usage + (firstLineEnd >= 0 ? text.mid(firstLineEnd) : QString());
    };
    if (!parser.parse(all)) {
        err(QStringLiteral("lumisk-cli %1: %2").arg(command, parser.errorText()));
        err(usage);
        *exitCode = Usage;
        return false;
    }
    if (parser.isSet(help)) {
        out(helpText());
        *exitCode = Done;
        return false;
    }
    const QStringList given = parser.optionNames();
    setQuiet(given.contains(QStringLiteral("quiet")) || given.contains(QStringLiteral("q")));
    return true;
}

QCommandLineOption portOption()
{
    return QCommandLineOption({QStringLiteral("p"), QStringLiteral("port")},
                              Text::tr("The meter's serial port (a name such as ttyUSB0 or a device path). "
                                       "Without it, the only meter found."),
                              Text::tr("port"));
}

QCommandLineOption baudOption()
{
    return QCommandLineOption({QStringLiteral("b"), QStringLiteral("baud")},
                              Text::tr("Line rate in baud (default 9600)."), Text::tr("rate"),
                              QString::number(DefaultBaudRate));
}

QCommandLineOption jsonOption()
{
    return QCommandLineOption(QStringLiteral("json"), Text::tr("Print JSON instead of text."));
}

QCommandLineOption quietOption()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                              Text::tr("No progress and no messages but errors."));
}

bool baudRate(const QCommandLineParser &parser, int *rate)
{
    bool ok = false;
    const int value = parser.value(QStringLiteral("baud")).toInt(&ok);
    if (!ok || value <= 0) {
        err(Text::tr("lumisk-cli: not a baud rate: %1").arg(parser.value(QStringLiteral("baud"))));
        return false;
    }
    *rate = value;
    return true;
}

} // namespace Cli
