#pragma once
// The chart's power curve. A day of readings is far more samples than the
// canvas has pixel columns, so each column is drawn from at most four points
// (its first, lowest, highest and last sample): the same picture as the full
// polyline at a cost that follows the canvas width. The chart's own samples
// (a PowerSeries) give each column's lowest and highest sample from their
// summary without a visit to every sample; any other series is walked
// sample by sample, to the same points.
// Samples must come in ascending x, as the chart's sample indices do.
// Readings that are not finite leave a gap in the line.

#include <QPolygonF>
#include <QVector>
#include <qwt_plot_curve.h>

class PowerCurve : public QwtPlotCurve
{
public:
    PowerCurve();

    // The polylines the curve draws of samples from..to on canvasRect,
    // before they are clipped: one for each run of finite samples that
    // reduces to two points or more. doAlign rounds the points to whole
    // pixels, as painting on screen does.
    static QVector<QPolygonF> lines(const QwtSeriesData<QPointF> &series, const QwtScaleMap &xMap,
                                    const QwtScaleMap &yMap, const QRectF &canvasRect, bool doAlign, int from,
                                    int to);

protected:
    void drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                   const QRectF &canvasRect, int from, int to) const override;
};
