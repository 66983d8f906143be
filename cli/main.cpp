// lumisk-cli: the meter from a terminal, a script or a lab rack. Qt Core
// only; the same link, download, report and history code as the window.

#include "cli/cli.h"

#include "domain/configuration.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <csignal>
#include <functional>
#include <map>

#ifndef LUMISK_VERSION
#define LUMISK_VERSION "0"
#endif

namespace {

QString generalHelp()
{
    return Cli::Text::tr(
        "Usage: lumisk-cli COMMAND [options]\n"
        "\n"
        "The handheld optical power meter from the command line.\n"
        "\n"
        "Commands:\n"
        "  ports                  serial ports, whether they open, which meter answers\n"
        "  identify               the meter's identity\n"
        "  download --family F    every record of a family (single, multi, partial, pon, xgpon)\n"
        "  sample                 live readings at an interval\n"
        "  set-clock              the meter's clock to the PC's local time (or --time)\n"
        "  history list|show|export|sync\n"
        "                         the measurement history\n"
        "\n"
        "lumisk-cli COMMAND --help shows a command's options. Without --port the only\n"
        "meter found is used.\n"
        "\n"
        "Exit codes: 0 done, 1 error, 2 usage, 3 no meter or several, 4 the meter\n"
        "refused or kept failing, 5 file, output or history error, 130 interrupted,\n"
        "141 standard output closed by its reader.\n");
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader of standard output that goes away (`lumisk-cli sample | head`)
    // is seen as EPIPE and stops the command cleanly, the history session
    // ended, instead of killing the program in the middle of it.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    // The window's name: the same settings file (language, technician).
    QCoreApplication::setApplicationName(QStringLiteral("lumisk"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMISK_VERSION));
    // The link's trace lines are for the window's log; stderr here carries
    // progress and messages (QT_LOGGING_RULES still turns them on).
    QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false"));
    Configuration::instance()->loadTranslators();

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        Cli::outLine(QStringLiteral("lumisk-cli %1").arg(QStringLiteral(LUMISK_VERSION)));
        return Cli::finish(Cli::Done);
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        Cli::out(generalHelp());
        return Cli::finish(Cli::Done);
    }
    const std::map<QString, std::function<int(const QStringList &)>> commands{
        {QStringLiteral("ports"), runPorts},         {QStringLiteral("identify"), runIdentify},
        {QStringLiteral("download"), runDownload},   {QStringLiteral("sample"), runSample},
        {QStringLiteral("set-clock"), runSetClock},  {QStringLiteral("history"), runHistory},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        if (!command.isEmpty())
            Cli::err(Cli::Text::tr("lumisk-cli: unknown command %1").arg(command));
        Cli::err(generalHelp());
        return Cli::Usage;
    }
    return Cli::finish(found->second(arguments.mid(1)));
}
