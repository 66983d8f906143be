#pragma once
// One real-time sampling run: how long it lasts, how often it asks the meter
// for a reading, where it stands. The run counts the 500 ms ticks it is given
// (the window's sampling timer, or a test), so it knows no wall clock of its
// own.
//
// States: idle → running ⇄ paused → finished (ran to its end, or stopped).
// A start from idle or finished begins at zero; a start from paused resumes
// where the run stood.

#include <QObject>
#include <QString>
#include <chrono>

class SamplingRun : public QObject
{
    Q_OBJECT
public:
    using Ms = std::chrono::milliseconds;
    static constexpr Ms Tick{500};
    enum class State { Idle, Running, Paused, Finished };

    explicit SamplingRun(QObject *parent = nullptr) : QObject(parent) {}

    // The combos' entries: "0.5s", "30s" (an interval in seconds) and "10m"
    // (a duration in whole minutes). Anything unreadable is zero.
    static Ms intervalOf(const QString &entry);
    static Ms durationOf(const QString &entry);

    // Starts or resumes. The interval and duration are taken only when a new
    // run begins; an interval longer than the duration falls back to one
    // tick. Returns true when a new run began (elapsed time zero).
    bool start(Ms interval, Ms duration);
    // Begins a new run at once, whatever the state.
    void restart(Ms interval, Ms duration);
    void pause();
    // Ends the run early (the link went away, the window closes, the curve
    // was cleaned); the next start begins at zero.
    void finish();
    // Back to idle, nothing elapsed (the curve was cleaned).
    void clear();
    // The elapsed time starts again from zero, the rest stays (the link was
    // opened anew under a running run).
    void rewind() { done = Ms(0); }
    // One 500 ms tick of a running run.
    void tick();

    State state() const { return current; }
    bool isRunning() const { return current == State::Running; }
    Ms interval() const { return every; }
    Ms duration() const { return length; }
    Ms elapsed() const { return done; }
    Ms sampled() const { return sampledTime; }
    Ms remaining() const { return length > done ? length - done : Ms(0); }
    // The interval fell back to one tick at the last start.
    bool intervalAdjusted() const { return adjusted; }

signals:
    // A reading is due now.
    void sampleDue();
    // Seconds sampled so far (the progress bar's value).
    void progress(int seconds);
    // The remaining whole seconds, on every whole second of a running run.
    void remainingChanged(int seconds);
    // The run reached its duration.
    void finished();

private:
    void begin(Ms interval, Ms duration);

    State current = State::Idle;
    Ms every{0};
    Ms length{0};
    Ms done{0};
    Ms sampledTime{0};
    bool adjusted = false;
};
