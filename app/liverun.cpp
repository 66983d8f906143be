#include "app/liverun.h"

#include "app/samplingpanel.h"
#include "app/saveflow.h"
#include "session/historyrecorder.h"
#include "session/metersession.h"
#include "widgets/chartform.h"

#include <QPushButton>

LiveRun::LiveRun(const Controls &controls, const Parts &parts, QObject *parent)
    : QObject(parent), ui(controls), parts(parts)
{
    connect(parts.panel, &SamplingPanel::sampleDue, parts.session, &MeterSession::askForReading);
    connect(parts.panel, &SamplingPanel::finished, this, [this]() { resumePause(false, false); });
}

void LiveRun::resumePause(bool start, bool isPause)
{
    if (start) {
        // After a run has ended, a new one begins from zero, whatever duration
        // has been chosen since, once the last one has been offered for saving.
        if (parts.panel->run()->state() == SamplingRun::State::Finished && parts.saves->askToSave()
            && !parts.linkUp()) {
            ui.chart->setPlayUnchecked();
            return;
        }
        ui.menu->setEnabled(false);
        ui.save->setEnabled(false);
        const bool fresh = parts.panel->start();
        parts.saves->markUnsaved();
        if (fresh)
            parts.session->askForReading();
        return;
    }
    ui.save->setEnabled(true);
    ui.menu->setEnabled(true);
    parts.panel->stop(isPause);
    if (!isPause)
        parts.history->endRun();
    ui.chart->setClearOnResume(!isPause);
    ui.chart->setPlayUnchecked();
}

void LiveRun::restart()
{
    parts.saves->markUnsaved();
    parts.history->endRun();
    parts.panel->restart();
}

void LiveRun::stop()
{
    parts.panel->clear();
    parts.history->endRun();
    // The run ends here as with any stop: the menu and saving are back.
    ui.menu->setEnabled(true);
    ui.save->setEnabled(true);
    ui.chart->setClearOnResume(true);
    ui.chart->setPlayUnchecked();
}
