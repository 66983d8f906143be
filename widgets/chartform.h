#pragma once
// The real-time page: keeps every live reading with its arrival time, draws
// the power of all readings as one curve over the sample index, shows the
// latest reading above the plot and carries a draggable read-out marker.
// The main window runs the sampling and calls in; the page tells it through
// its signals when the user starts, pauses, stops or clears.

#include <QCursor>
#include <QDateTime>
#include <QList>
#include <QVector>
#include <QWidget>

#include "domain/livereference.h"
#include "domain/powerstatistics.h"
#include "link/realtimeopmvalue.h"
#include "widgets/marker.h"

namespace Ui {
class ChartForm;
}

class QLabel;
class QPushButton;
class QwtPlotZoomer;
class QwtPlotPanner;
class QwtPlotCurve;
class PowerSeries;
class QWheelEvent;
class RealTimeOpmValueFrame;
struct DevDatas;

class ChartForm : public QWidget
{
    Q_OBJECT

public:
    explicit ChartForm(QWidget *parent = nullptr);
    ~ChartForm() override;

    // The frame to send with the next real-time request; the page keeps it.
    RealTimeOpmValueFrame *frame() const;
    // Makes a fresh, empty request frame. A caller from outside deletes the
    // old one first.
    void createFrame();
    // The meter whose readings the request frames decode (its range code sets
    // the precision of the power texts). The frame in hand is renewed, so it
    // must not be out with the link.
    void setIdentity(const DevDatas *meter);
    // Takes the reading just parsed into the request frame, arrived at `arrival`.
    void addRealTimeValue(const QDateTime &arrival = QDateTime::currentDateTime());
    // Shows the readings of a finished run (from the history) as the curve,
    // read-only: no playing and no cleaning until clearDatas().
    void showStored(const QList<QDateTime> &arrivals, const QList<RealTimeOpmValue> &values);
    bool isShowingStored() const { return showingStored; }
    void clearDatas();
    void saveDatas(const QString &dir);
    void setPlayEnabled(bool enabled);
    void setClearOnResume(bool value);
    // Unchecks play without a click (no resumePause is emitted).
    void setPlayUnchecked();

    // Read access for the main window and the tests.
    int sampleCount() const;
    const QList<RealTimeOpmValue> &storedReadings() const { return readings; }
    const QList<QDateTime> &storedTimes() const { return times; }
    double trackedMaxPower() const { return maxPower; }
    double trackedMinPower() const { return minPower; }
    bool isUserAdjusted() const { return userAdjusted; }
    bool isClearOnResume() const { return clearOnResume; }
    const Marker &readoutMarker() const { return marker; }

    // Statistics of the power over every reading and over the readings in
    // view, and the reference "Set reference" took (for the read-out here
    // and for exports that add the loss).
    const PowerStatistics &powerStatistics() const { return statistics; }
    PowerStatistics::Summary viewStatistics() const { return viewSummary; }
    // Indices of the first and last reading the x axis shows (may lie
    // beyond the readings there are).
    QPair<int, int> viewRange() const;
    const LiveReference &reference() const { return liveReference; }
    // What "Set reference" does: the latest reading of each wavelength becomes its reference.
    void setReference();

signals:
    void resumePause(bool start, bool isPause);
    void restart();
    void stop();
    void cleardata();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_cleanBtn_clicked();
    void on_resetBtn_clicked();
    void on_playBtn_clicked(bool checked);
    void axisChanged();

private:
    // Widens the tracked power range by one reading (pinned at +-100 dBm).
    void trackPower(double power);
    // Keeps one reading; the curve is redrawn by the caller.
    void append(const QDateTime &arrival, const RealTimeOpmValue &value);
    void redraw();
    // Fits the y axis to the tracked range and the x axis to the samples.
    void applyAutoScale();
    // Index of the stored sample nearest the marker, or -1 when empty.
    int sampleUnderMarker() const;
    void moveMarker(double x, double y);
    void updateReadout();
    bool nearMarker(double x) const;
    void wheelZoom(QWheelEvent *event, int axis);
    // Refreshes the statistics read-out and the loss of the latest reading.
    void updateStatistics();
    QString statisticsLine(const QString &title, const PowerStatistics::Summary &summary) const;

    Ui::ChartForm *ui;
    QList<RealTimeOpmValue> readings;
    QList<QDateTime> times;
    RealTimeOpmValueFrame *requestFrame = nullptr;
    const DevDatas *meterIdentity = nullptr;
    QwtPlotZoomer *zoomer = nullptr;
    QwtPlotPanner *panner = nullptr;
    QwtPlotCurve *curve = nullptr;
    // The power of every reading, held by the curve.
    PowerSeries *series = nullptr;
    Marker marker;
    double maxPower = -80.0;
    double minPower = 0.0;
    bool userAdjusted = false;
    bool clearOnResume = true;
    bool showingStored = false;
    bool panInProgress = false;
    QCursor idleCursor;
    QCursor activeCursor;
    PowerStatistics statistics;
    LiveReference liveReference;
    // The view's statistics are asked for again only when the readings in
    // view change, so a reading landing outside a held view costs nothing.
    PowerStatistics::Summary viewSummary;
    QPair<int, int> summarisedRange{0, -1};
    QLabel *statisticsLabel = nullptr;
    QLabel *lossLabel = nullptr;
    QPushButton *setReferenceBtn = nullptr;
};
