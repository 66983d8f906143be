#include "cli/progress.h"

#include "cli/cli.h"

#include <cstdio>
#include <unistd.h>

namespace {
constexpr int BarWidth = 30;
}

Progress::Progress(const QString &what) : label(what), terminal(::isatty(STDERR_FILENO) == 1)
{
    active = !Cli::quiet();
}

Progress::~Progress()
{
    finish();
}

void Progress::setTotal(int count)
{
    total = count;
    value = 0;
    lastTenth = -1;
    draw();
}

void Progress::setValue(int current)
{
    value = current;
    draw();
}

void Progress::draw()
{
    if (!active)
        return;
    const QString counts = total > 0 ? QStringLiteral("%1/%2").arg(value).arg(total) : QString::number(value);
    if (terminal) {
        QString line = QStringLiteral("\r") + label + QLatin1Char(' ');
        if (total > 0) {
            const int filled = int(qint64(BarWidth) * qMin(value, total) / total);
            line += QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(BarWidth - filled, QLatin1Char(' '))
                + QStringLiteral("] ");
        }
        line += counts;
        const QByteArray bytes = line.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
        drawn = true;
        return;
    }
    // Plain lines: the start and every further tenth of the way.
    const int tenth = total > 0 ? int(qint64(10) * qMin(value, total) / total) : value / 100;
    if (tenth == lastTenth)
        return;
    lastTenth = tenth;
    Cli::err(label + QLatin1Char(' ') + counts);
}

void Progress::finish()
{
    if (!active)
        return;
    if (terminal && drawn)
        Cli::err(QString());
    active = false;
}
