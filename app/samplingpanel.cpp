#include "app/samplingpanel.h"

#include "dialogs/messagedialog.h"
#include "dialogs/settimedialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

namespace {
constexpr double MaxSampleCount = 65535.0;
// Entry of both combos that opens the time-span dialog, and the index a
// custom value is appended at.
constexpr int CustomizeIndex = 7;
constexpr int CustomEntryIndex = 8;

int wholeSeconds(SamplingRun::Ms time)
{
    return int(std::chrono::duration_cast<std::chrono::seconds>(time).count());
}
} // namespace

SamplingPanel::SamplingPanel(const Controls &controls, QTimer *timer, QObject *parent)
    : QObject(parent), ui(controls), timer(timer)
{
    connect(&samplingRun, &SamplingRun::sampleDue, this, &SamplingPanel::sampleDue);
    connect(&samplingRun, &SamplingRun::progress, ui.progress, &QProgressBar::setValue);
    connect(&samplingRun, &SamplingRun::remainingChanged, this, [this](int seconds) {
        ui.remaining->setText(QString::number(double(seconds), 'g', 6) + QLatin1Char('s'));
    });
    connect(&samplingRun, &SamplingRun::finished, this, &SamplingPanel::finished);
}

SamplingRun::Ms SamplingPanel::chosenInterval() const
{
    return SamplingRun::intervalOf(ui.interval->currentText());
}

SamplingRun::Ms SamplingPanel::chosenDuration() const
{
    return SamplingRun::durationOf(ui.duration->currentText());
}

bool SamplingPanel::start()
{
    const bool fresh = samplingRun.start(chosenInterval(), chosenDuration());
    if (fresh && samplingRun.intervalAdjusted())
        ui.interval->setCurrentIndex(0);
    showRunning();
    ui.remaining->setText(QString::number(wholeSeconds(samplingRun.remaining())) + QLatin1Char('s'));
    return samplingRun.elapsed().count() == 0;
}

void SamplingPanel::restart()
{
    samplingRun.restart(chosenInterval(), chosenDuration());
    showRunning();
}

void SamplingPanel::showRunning()
{
    timer->start(int(SamplingRun::Tick.count()));
    ui.settings->setEnabled(false);
    ui.progress->setValue(0);
    ui.progress->setMaximum(wholeSeconds(samplingRun.duration()));
    ui.progress->show();
    ui.remaining->show();
}

void SamplingPanel::stop(bool pause)
{
    timer->stop();
    if (pause) {
        samplingRun.pause();
    } else {
        samplingRun.finish();
        ui.settings->setEnabled(true);
        ui.progress->setValue(0);
    }
    ui.progress->hide();
    ui.remaining->hide();
}

void SamplingPanel::clear()
{
    timer->stop();
    samplingRun.clear();
    ui.settings->setEnabled(true);
    ui.progress->setValue(0);
    ui.progress->hide();
    ui.remaining->hide();
}

bool SamplingPanel::withinLimit(SamplingRun::Ms duration, SamplingRun::Ms interval) const
{
    if (interval.count() > 0 && double(duration.count()) / double(interval.count()) <= MaxSampleCount)
        return true;
    showMessage(QCoreApplication::translate("MainWindow", "Sample count can not greater than 65535"));
    return false;
}

void SamplingPanel::intervalChosen(int index)
{
    QComboBox *combo = ui.interval;
    if (index == CustomizeIndex) {
        combo->setEditable(false);
        int seconds = 0;
        if (SetTimeDialog::getSeconds(SetTimeDialog::Interval, seconds) == 1 && seconds != 0
            && withinLimit(chosenDuration(), std::chrono::seconds(seconds))) {
            if (combo->count() > CustomEntryIndex)
                combo->removeItem(combo->count() - 1);
            combo->addItem(QString::number(seconds) + QLatin1Char('s'));
            combo->setCurrentIndex(CustomEntryIndex);
            return;
        }
        combo->setEditable(false);
        combo->setCurrentIndex(prevIntervalIndex);
    } else if (index >= 0) {
        if (withinLimit(chosenDuration(), SamplingRun::intervalOf(combo->itemText(index))))
            prevIntervalIndex = index;
        else
            combo->setCurrentIndex(prevIntervalIndex);
    }
}

void SamplingPanel::durationChosen(int index)
{
    QComboBox *combo = ui.duration;
    if (index == CustomizeIndex) {
        combo->setEditable(false);
        int seconds = 0;
        if (SetTimeDialog::getSeconds(SetTimeDialog::Duration, seconds) == 1 && seconds != 0
            && withinLimit(std::chrono::seconds(seconds), chosenInterval())) {
            if (combo->count() > CustomEntryIndex)
                combo->removeItem(combo->count() - 1);
            combo->addItem(QString::number(seconds / 60) + QLatin1Char('m'));
            combo->setCurrentIndex(CustomEntryIndex);
            return;
        }
        combo->setEditable(false);
        combo->setCurrentIndex(prevTimeIndex);
    } else if (index >= 0) {
        if (withinLimit(SamplingRun::durationOf(combo->itemText(index)), chosenInterval()))
            prevTimeIndex = index;
        else
            combo->setCurrentIndex(prevTimeIndex);
    }
}
