#pragma once
// A live run as the chart page drives it: play starts or resumes it (a run
// that has ended is offered for saving before a new one begins from zero),
// pause and stop end it for now or for good, restart begins again. The first
// reading is asked for at once, every further one when it falls due unless
// the last is still on its way. While it goes, the menu and saving wait; each
// run is one session of the measurement history.

#include <QObject>
#include <functional>

class ChartForm;
class HistoryRecorder;
class MeterSession;
class QPushButton;
class SamplingPanel;
class SaveFlow;

class LiveRun : public QObject
{
    Q_OBJECT
public:
    struct Controls {
        ChartForm *chart;
        QPushButton *menu;
        QPushButton *save;
    };
    struct Parts {
        SamplingPanel *panel;
        SaveFlow *saves;
        HistoryRecorder *history;
        MeterSession *session; // asks the meter for each reading
        std::function<bool()> linkUp; // the meter is still there
    };
    LiveRun(const Controls &controls, const Parts &parts, QObject *parent = nullptr);

    // Play pressed (start) or released: a pause keeps the run, a stop ends it.
    void resumePause(bool start, bool isPause);
    void restart();
    // The curve was cleaned: the run is over and nothing of it is left.
    void stop();

private:
    Controls ui;
    Parts parts;
};
