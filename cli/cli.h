#pragma once
// What every subcommand of lumisk-cli shares: the exit codes, the texts'
// translation context, writing to stdout and stderr, and reading a
// subcommand's options.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace Cli {

// The documented exit codes (see the man page and the README).
enum Exit {
    Done = 0,
    Failed = 1,
    Usage = 2,
    NoMeter = 3,      // no meter found, or several and no --port
    MeterFailed = 4,  // the meter refused, kept failing or went away
    FileFailed = 5,   // an output file, standard output or the history could not be written
    Interrupted = 130, // Ctrl-C (SIGINT) or SIGTERM
    OutputClosed = 141 // the reader of standard output went away (`| head`), as SIGPIPE would end us
};

class Text
{
    Q_DECLARE_TR_FUNCTIONS(Cli)
};

// Standard output (results) and standard error (progress, messages).
// Standard output that fails stops the running command as Ctrl-C does
// (Interrupt) and takes no more writes: a reader that went away (EPIPE;
// SIGPIPE is ignored) or any other error (a full disk).
void out(const QString &text);
void outLine(const QString &text);
void err(const QString &line);
bool outputClosed();
bool outputFailed();
// The program's exit code once a command returned `code`: a closed
// standard output gives 141 without a word, a failed one 5 and its reason,
// unless the command failed for a reason of its own.
int finish(int code);

// --quiet: no progress and no messages but errors.
void setQuiet(bool quiet);
bool quiet();
// A message on stderr unless --quiet.
void note(const QString &line);

// Parses a subcommand's arguments (the subcommand word already taken off).
// --help prints the subcommand's help on stdout; a wrong option prints the
// problem and the usage on stderr. Returns false with *exitCode set when the
// caller is to stop there.
bool parse(QCommandLineParser &parser, const QString &command, const QString &synopsis,
           const QString &description, const QStringList &arguments, int *exitCode);

// Options most subcommands take.
QCommandLineOption portOption();
QCommandLineOption baudOption();
QCommandLineOption jsonOption();
QCommandLineOption quietOption();

// The --baud value; false (and a usage message) when it is no rate.
bool baudRate(const QCommandLineParser &parser, int *rate);

} // namespace Cli

// The subcommands; each returns an exit code.
int runPorts(const QStringList &arguments);
int runIdentify(const QStringList &arguments);
int runDownload(const QStringList &arguments);
int runSample(const QStringList &arguments);
int runSetClock(const QStringList &arguments);
int runHistory(const QStringList &arguments);
