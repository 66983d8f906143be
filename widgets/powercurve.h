#pragma once
// The chart's power curve. A day of readings is far more samples than the
// canvas has pixel columns, so each column is drawn from at most four points
// (its first, lowest, highest and last sample): the same picture as the full
// polyline at a cost that follows the canvas width, not the sample count.
// Samples must come in ascending x, as the chart's sample indices do.
// Readings that are not finite leave a gap in the line.

#include <qwt_plot_curve.h>

class PowerCurve : public QwtPlotCurve
{
public:
    PowerCurve();

protected:
    void drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                   const QRectF &canvasRect, int from, int to) const override;
};
