#pragma once
// The sampling controls of the chart page: the interval and duration combos
// (with their custom entries and the 65 535-reading limit), the progress bar
// and remaining time while a run goes, and the run itself with its 500 ms
// tick. The window decides when a run starts or stops; the panel keeps the
// controls in step and says when a reading is due and when the run is over.

#include "session/samplingrun.h"

#include <QObject>
#include <QTimer>

class QComboBox;
class QLabel;
class QProgressBar;
class QWidget;

class SamplingPanel : public QObject
{
    Q_OBJECT
public:
    struct Controls {
        QComboBox *interval;
        QComboBox *duration;
        QWidget *settings; // the widget holding both combos
        QProgressBar *progress;
        QLabel *remaining;
    };
    SamplingPanel(const Controls &controls, QTimer *timer, QObject *parent = nullptr);

    SamplingRun *run() { return &samplingRun; }
    const SamplingRun *run() const { return &samplingRun; }

    // Starts or resumes with the combos' values; true when a new run began.
    bool start();
    void restart();
    // A pause keeps where the run stood; a stop ends it.
    void stop(bool pause);
    // The curve was cleaned: nothing of the run is left.
    void clear();
    // One tick of the sampling timer.
    void tick() { samplingRun.tick(); }

    // The combos' handlers.
    void intervalChosen(int index);
    void durationChosen(int index);

signals:
    void sampleDue();
    void finished();

private:
    void showRunning();
    bool withinLimit(SamplingRun::Ms duration, SamplingRun::Ms interval) const;
    SamplingRun::Ms chosenInterval() const;
    SamplingRun::Ms chosenDuration() const;

    Controls ui;
    QTimer *timer;
    SamplingRun samplingRun;
    int prevIntervalIndex = 0;
    int prevTimeIndex = 0;
};
