#include "widgets/chartform.h"
#include "ui_chartform.h"

#include "dialogs/messagedialog.h"
#include "link/realtimeopmvalueframe.h"
#include "link/valueformat.h"
#include "report/realtimexlsx.h"
#include "widgets/plaintextlabels.h"
#include "widgets/powercurve.h"
#include "widgets/powerseries.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPen>
#include <QPushButton>
#include <QVBoxLayout>
#include <QPixmap>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <qwt_plot_canvas.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_div.h>

namespace {

// Tracked power limits; the view never follows a reading beyond them.
constexpr double PowerCeiling = 100.0;
constexpr double PowerFloor = -100.0;
constexpr double InitialMaxPower = -80.0;
constexpr double InitialMinPower = 0.0;
// The y range gets a tenth of the tracked span as margin, never less.
constexpr double MinimumMargin = 0.1;
// Below this many samples the x axis shows every sample with a step of 1.
constexpr int FewSamples = 10;
// Distance in pixels within which the pointer is "on" the marker.
constexpr double MarkerHitPixels = 20.0;
// One wheel notch.
constexpr int WheelNotch = 120;
constexpr double ZoomInPerNotch = 0.4;
// Wheel zoom-in stops below these visible ranges.
constexpr double MinimumXRange = 1.0;
constexpr double MinimumYRange = 0.1;
// Samples lie on the x axis one unit apart.
constexpr double SampleStep = 1.0;
// Decimals of the statistics and the loss (the meter shows hundredths).
constexpr int StatisticsDecimals = 2;
// Nothing has been summarised yet: no clipped range starts below 0.
const QPair<int, int> NoRange{-1, -1};

QCursor handCursor(const char *path, Qt::CursorShape fallback)
{
    const QPixmap pixmap(QString::fromLatin1(path));
    return pixmap.isNull() ? QCursor(fallback) : QCursor(pixmap);
}

} // namespace

ChartForm::ChartForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::ChartForm)
{
    ui->setupUi(this);
    // The read-out shows the meter's texts as they are.
    showLabelsAsPlainText(this);
    createFrame();

    QwtPlot *plot = ui->qwtPlot;
    QWidget *canvas = plot->canvas();

    zoomer = new QwtPlotZoomer(canvas, true);
    zoomer->setRubberBandPen(QPen(Qt::gray));
    zoomer->setMousePattern(QwtEventPattern::MouseSelect1, Qt::RightButton);
    zoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton, Qt::ControlModifier);
    connect(zoomer, &QwtPlotZoomer::activated, this, &ChartForm::axisChanged);
    connect(zoomer, &QwtPlotZoomer::zoomed, this, &ChartForm::updateStatistics);

    panner = new QwtPlotPanner(canvas);
    connect(panner, &QwtPlotPanner::panned, this, &ChartForm::axisChanged);

    curve = new PowerCurve;
    series = new PowerSeries;
    curve->setData(series);
    curve->setPen(QColor(236, 101, 56), 0, Qt::SolidLine);
    curve->attach(plot);

    marker.setLineStyle(QwtPlotMarker::VLine);
    marker.setValue(1, -60);
    marker.attach(plot);
    marker.hide();

    idleCursor = handCursor(":/img/hand.png", Qt::OpenHandCursor);
    activeCursor = handCursor(":/img/hand_1.png", Qt::SizeHorCursor);
    canvas->setCursor(idleCursor);

    plot->setAxisScale(QwtPlot::yLeft, InitialMaxPower, InitialMinPower);

    // Installed after the zoomer and the panner, so the page sees the
    // canvas events first and can keep a marker drag from panning.
    canvas->installEventFilter(this);
    canvas->setMouseTracking(true);

    ui->resetBtn->setEnabled(false);

    // The reference button and the loss sit in the read-out row before the
    // clean button, the statistics in a line of their own above the plot.
    setReferenceBtn = new QPushButton(tr("Set reference"), this);
    setReferenceBtn->setObjectName(QStringLiteral("setReferenceBtn"));
    setReferenceBtn->setFocusPolicy(Qt::NoFocus);
    setReferenceBtn->setCursor(Qt::PointingHandCursor);
    setReferenceBtn->setEnabled(false);
    connect(setReferenceBtn, &QPushButton::clicked, this, &ChartForm::setReference);
    lossLabel = new QLabel(this);
    lossLabel->setObjectName(QStringLiteral("lossLabel"));
    lossLabel->setTextFormat(Qt::PlainText);
    lossLabel->hide();
    const int cleanAt = ui->horizontalLayout->indexOf(ui->cleanBtn);
    ui->horizontalLayout->insertWidget(cleanAt, setReferenceBtn);
    ui->horizontalLayout->insertWidget(cleanAt, lossLabel);

    statisticsLabel = new QLabel(this);
    statisticsLabel->setObjectName(QStringLiteral("statisticsLabel"));
    statisticsLabel->setTextFormat(Qt::PlainText);
    statisticsLabel->setStyleSheet(QStringLiteral("color: rgb(102, 102, 102); padding-left: 9px;"));
    ui->verticalLayout->insertWidget(ui->verticalLayout->indexOf(ui->qwtPlot), statisticsLabel);
    summarisedRange = NoRange;
    updateStatistics();
}

ChartForm::~ChartForm()
{
    ui->qwtPlot->canvas()->removeEventFilter(this);
    marker.detach();
    delete requestFrame;
    delete ui;
}

RealTimeOpmValueFrame *ChartForm::frame() const
{
    return requestFrame;
}

void ChartForm::createFrame()
{
    // No parent: a frame given up while the worker still fills it goes to
    // whoever took it and must not die with the page.
    requestFrame = new RealTimeOpmValueFrame(meterIdentity);
}

void ChartForm::setIdentity(const DevDatas *meter)
{
    meterIdentity = meter;
    delete requestFrame;
    createFrame();
}

void ChartForm::append(const QDateTime &arrival, const RealTimeOpmValue &value)
{
    times.append(arrival);
    readings.append(value);
    const double power = double(value.powerValue);
    series->append(power);
    statistics.add(power);
    liveReference.noteReading(value.wavelength, power);
    // The tracked range follows every reading, also while the user holds
    // the view, so that reset shows everything received.
    trackPower(power);
}

int ChartForm::sampleCount() const
{
    return series->count();
}

void ChartForm::redraw()
{
    const int count = sampleCount();
    if (!userAdjusted)
        applyAutoScale();

    curve->itemChanged();

    if (count < FewSamples)
        ui->qwtPlot->setAxisScale(QwtPlot::xBottom, 0, count + 1, 1);

    if (count > 1) {
        if (!marker.isVisible())
            marker.show();
        updateReadout();
    }
    if (!marker.isDragging())
        marker.setYValue(minPower + (maxPower - minPower) * 0.5);

    ui->qwtPlot->replot();

    if (count > 0) {
        const RealTimeOpmValue &value = readings.last();
        ui->wavelengthLabel->setText(value.wavelength);
        ui->powerLabel->setText(value.power);
        ui->freqLabel->setText(value.frequency);
    }
    updateStatistics();
}

void ChartForm::addRealTimeValue(const QDateTime &arrival)
{
    append(arrival, requestFrame->value());
    redraw();

    delete requestFrame;
    requestFrame = nullptr;
    createFrame();
}

void ChartForm::showStored(const QList<QDateTime> &arrivals, const QList<RealTimeOpmValue> &values)
{
    clearDatas();
    const int count = std::min(arrivals.size(), values.size());
    for (int i = 0; i < count; ++i)
        append(arrivals.at(i), values.at(i));
    redraw();
    showingStored = true;
    ui->playBtn->setEnabled(false);
    ui->cleanBtn->setEnabled(false);
}

void ChartForm::clearDatas()
{
    series->clear();
    curve->itemChanged();
    readings.clear();
    times.clear();
    maxPower = InitialMaxPower;
    minPower = InitialMinPower;
    statistics.clear();
    liveReference.clearReadings();
    summarisedRange = NoRange;
    updateStatistics();
    marker.setXValue(0);
    marker.hide();
    ui->qwtPlot->replot();
    showingStored = false;
    ui->cleanBtn->setEnabled(true);
}

void ChartForm::saveDatas(const QString &dir)
{
    if (readings.isEmpty()) {
        showMessage(tr("Save Fail,No Data!"));
        return;
    }
    const bool saved = RealTimeXlsx().save(times, readings, dir);
    showMessage(saved ? tr("Report exported") : tr("Failed to export report"));
}

void ChartForm::setPlayEnabled(bool enabled)
{
    ui->playBtn->setEnabled(enabled);
}

void ChartForm::setClearOnResume(bool value)
{
    clearOnResume = value;
}

void ChartForm::setPlayUnchecked()
{
    ui->playBtn->setChecked(false);
}

void ChartForm::trackPower(double power)
{
    if (power > PowerCeiling)
        maxPower = PowerCeiling;
    else if (power > maxPower)
        maxPower = power;

    if (power < PowerFloor)
        minPower = PowerFloor;
    else if (power < minPower)
        minPower = power;
}

void ChartForm::applyAutoScale()
{
    if (sampleCount() == 0)
        return;
    const double margin = std::max((maxPower - minPower) / 10.0, MinimumMargin);
    ui->qwtPlot->setAxisScale(QwtPlot::yLeft, minPower - margin, maxPower + margin);
    ui->qwtPlot->setAxisScale(QwtPlot::xBottom, 0, sampleCount() - 1);
}

int ChartForm::sampleUnderMarker() const
{
    if (sampleCount() == 0)
        return -1;
    const long index = std::lround(marker.xValue() / SampleStep);
    return int(std::clamp<long>(index, 0, sampleCount() - 1));
}

void ChartForm::updateReadout()
{
    const int index = sampleUnderMarker();
    if (index < 0)
        return;
    const RealTimeOpmValue &reading = readings.at(index);
    const QString separator = QStringLiteral(": ");
    QStringList lines{
        tr("Power") + separator + QString::number(series->power(index), 'f', 3) + QStringLiteral("dBm"),
        tr("Wave.") + separator + reading.wavelength + QStringLiteral("nm"),
        tr("Freq.") + separator + reading.frequency + QStringLiteral("Hz"),
        tr("Time") + separator + ValueFormat::dateTimeText(times.at(index), QStringLiteral("HH:mm:ss")),
    };
    const std::optional<double> loss = liveReference.loss(reading.wavelength, series->power(index));
    if (loss)
        lines << tr("Loss") + separator + QString::number(*loss, 'f', StatisticsDecimals) + QStringLiteral("dB");
    marker.setReadout(lines.join(QLatin1Char('\n')));
}

void ChartForm::moveMarker(double x, double y)
{
    if (sampleCount() == 0)
        return;
    marker.setValue(std::clamp(x, 0.0, double(sampleCount() - 1)), y);
    updateReadout();
    ui->qwtPlot->replot();
}

bool ChartForm::nearMarker(double x) const
{
    // A hidden marker cannot be taken hold of.
    if (!marker.isVisible())
        return false;
    const QwtInterval range = ui->qwtPlot->axisScaleDiv(QwtPlot::xBottom).interval();
    const int width = ui->qwtPlot->canvas()->width();
    if (width <= 0)
        return false;
    return std::abs(marker.xValue() - x) < std::abs(range.width()) / width * MarkerHitPixels;
}

bool ChartForm::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *canvas = ui->qwtPlot->canvas();
    if (watched != canvas)
        return QWidget::eventFilter(watched, event);

    QwtPlot *plot = ui->qwtPlot;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const bool near = nearMarker(plot->invTransform(QwtPlot::xBottom, mouse->pos().x()));
        marker.setDragging(near);
        plot->replot();
        return near;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const double x = plot->invTransform(QwtPlot::xBottom, mouse->pos().x());
        const bool near = nearMarker(x);
        if (near != marker.isHovered()) {
            marker.setHovered(near);
            plot->replot();
        }
        canvas->setCursor(near ? activeCursor : idleCursor);
        if (marker.isDragging()) {
            moveMarker(x, plot->invTransform(QwtPlot::yLeft, mouse->pos().y()));
            return true;
        }
        panInProgress = mouse->buttons() & Qt::LeftButton;
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        marker.setDragging(false);
        plot->replot();
        if (!panInProgress)
            moveMarker(plot->invTransform(QwtPlot::xBottom, mouse->pos().x()),
                       plot->invTransform(QwtPlot::yLeft, mouse->pos().y()));
        panInProgress = false;
        return false;
    }
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        wheelZoom(wheel, wheel->modifiers() == Qt::ControlModifier ? QwtPlot::xBottom : QwtPlot::yLeft);
        return false;
    }
    default:
        return false;
    }
}

void ChartForm::wheelZoom(QWheelEvent *event, int axis)
{
    QwtPlot *plot = ui->qwtPlot;
    // Fine-grained wheels send less than a notch at a time: no zoom step.
    const int steps = event->angleDelta().y() / WheelNotch;
    if (steps == 0)
        return;

    const QwtInterval interval = plot->axisScaleDiv(axis).interval();
    const double lower = interval.minValue();
    const double range = interval.maxValue() - lower;
    const bool isX = axis == QwtPlot::xBottom;
    const double limit = isX ? MinimumXRange : MinimumYRange;

    if (steps > 0 && std::abs(range) < limit) {
        plot->replot();
        return;
    }

    // Every notch forward shows 0.4 of the range, every notch back 2.5 times it.
    const double scale = std::pow(ZoomInPerNotch, steps);
    const QPoint pos = event->position().toPoint();
    const double centre = plot->invTransform(axis, isX ? pos.x() : pos.y());
    const double offset = (centre - lower) * scale;
    const double newLower = centre - offset;
    const double newUpper = newLower + range * scale;

    bool change = std::isfinite(newLower) && std::isfinite(newUpper) && newUpper != newLower;
    if (change && !isX)
        change = newLower >= PowerFloor && newUpper <= PowerCeiling;
    if (change) {
        plot->setAxisScale(axis, newLower, newUpper);
        userAdjusted = true;
        ui->resetBtn->setEnabled(true);
    }
    plot->replot();
    updateStatistics();
}

void ChartForm::axisChanged()
{
    userAdjusted = true;
    ui->resetBtn->setEnabled(true);
    updateStatistics();
}

QPair<int, int> ChartForm::viewRange() const
{
    // A scale set since the last replot is only worked out here.
    ui->qwtPlot->updateAxes();
    const QwtInterval shown = ui->qwtPlot->axisScaleDiv(QwtPlot::xBottom).interval().normalized();
    // Bounded before the conversion: a far zoom-out must not overflow an int.
    const auto index = [](double x) { return int(std::clamp(x, -1.0, double(INT_MAX / 2))); };
    return {index(std::ceil(shown.minValue() / SampleStep)), index(std::floor(shown.maxValue() / SampleStep))};
}

void ChartForm::setReference()
{
    if (!liveReference.set())
        return;
    if (!readings.isEmpty())
        updateReadout();
    updateStatistics();
    ui->qwtPlot->replot();
}

QString ChartForm::statisticsLine(const QString &title, const PowerStatistics::Summary &summary) const
{
    if (summary.isEmpty())
        return tr("%1: no readings").arg(title);
    const auto number = [](double value) { return QString::number(value, 'f', StatisticsDecimals); };
    return tr("%1, %2 readings: min %3 / max %4 / mean %5 dBm, SD %6 / p-p %7 dB")
        .arg(title)
        .arg(summary.count)
        .arg(number(summary.minimum), number(summary.maximum), number(summary.mean),
             number(summary.standardDeviation), number(summary.peakToPeak));
}

void ChartForm::updateStatistics()
{
    const int count = statistics.size();
    QPair<int, int> range = viewRange();
    range.first = std::max(range.first, 0);
    range.second = std::min(range.second, count - 1);
    if (range.first <= 0 && range.second >= count - 1) {
        // Everything is in view: the running sums answer at once.
        viewSummary = statistics.overall();
        summarisedRange = range;
    } else if (range != summarisedRange) {
        viewSummary = statistics.range(range.first, range.second);
        summarisedRange = range;
    }
    statisticsLabel->setText(statisticsLine(tr("All readings"), statistics.overall()) + QLatin1Char('\n')
                             + statisticsLine(tr("In view"), viewSummary));

    setReferenceBtn->setEnabled(count > 0);
    const std::optional<double> loss
        = readings.isEmpty() ? std::nullopt : liveReference.loss(readings.last().wavelength, series->power(count - 1));
    lossLabel->setVisible(liveReference.isSet());
    lossLabel->setText(tr("Loss:") + QLatin1Char(' ')
                       + (loss ? QString::number(*loss, 'f', StatisticsDecimals) + QStringLiteral("dB")
                               : QStringLiteral("---")));
}

void ChartForm::on_resetBtn_clicked()
{
    userAdjusted = false;
    ui->resetBtn->setEnabled(false);
    if (sampleCount() > 0) {
        applyAutoScale();
        ui->qwtPlot->replot();
    }
    updateStatistics();
}

void ChartForm::on_playBtn_clicked(bool checked)
{
    emit resumePause(checked, true);
    if (checked && clearOnResume)
        clearDatas();
}

void ChartForm::on_cleanBtn_clicked()
{
    if (readings.isEmpty())
        return;
    if (question(tr("Whether to clear existing datas?")) != 1)
        return;
    clearDatas();
    emit stop();
    emit cleardata();
}
