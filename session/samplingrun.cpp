#include "session/samplingrun.h"

namespace {
// The number in front of the unit letter; zero when there is none.
double entryNumber(const QString &entry, QChar unit)
{
    QString number = entry.trimmed();
    if (!number.endsWith(unit))
        return 0;
    number.chop(1);
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && value > 0 ? value : 0;
}
} // namespace

SamplingRun::Ms SamplingRun::intervalOf(const QString &entry)
{
    return Ms(qint64(entryNumber(entry, QLatin1Char('s')) * 1000.0));
}

SamplingRun::Ms SamplingRun::durationOf(const QString &entry)
{
    // Whole minutes, as the combo shows them.
    return std::chrono::minutes(qint64(entryNumber(entry, QLatin1Char('m'))));
}

void SamplingRun::begin(Ms interval, Ms duration)
{
    length = duration;
    adjusted = interval > duration || interval <= Ms(0);
    every = adjusted ? Tick : interval;
    done = Ms(0);
    sampledTime = Ms(0);
    current = State::Running;
}

bool SamplingRun::start(Ms interval, Ms duration)
{
    if (current == State::Paused) {
        current = State::Running;
        return false;
    }
    if (current == State::Running)
        return false;
    begin(interval, duration);
    return true;
}

void SamplingRun::restart(Ms interval, Ms duration)
{
    begin(interval, duration);
}

void SamplingRun::pause()
{
    if (current == State::Running)
        current = State::Paused;
}

void SamplingRun::finish()
{
    if (current == State::Running || current == State::Paused)
        current = State::Finished;
    sampledTime = Ms(0);
}

void SamplingRun::clear()
{
    current = State::Idle;
    done = Ms(0);
    sampledTime = Ms(0);
}

void SamplingRun::tick()
{
    if (current != State::Running)
        return;
    done += Tick;
    if (done.count() % every.count() == 0) {
        sampledTime += every;
        emit sampleDue();
        emit progress(int(std::chrono::duration_cast<std::chrono::seconds>(sampledTime).count()));
    }
    if (done > length) {
        done = length;
        current = State::Finished;
        sampledTime = Ms(0);
        emit finished();
        return;
    }
    if (done.count() % 1000 == 0)
        emit remainingChanged(int(std::chrono::duration_cast<std::chrono::seconds>(remaining()).count()));
}
