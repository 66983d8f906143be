#include "widgets/powercurve.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <qwt_clipper.h>
#include <qwt_painter.h>
#include <qwt_scale_map.h>
#include <qwt_series_data.h>

namespace {

// One pixel column of the curve: the mapped points worth drawing in it.
struct Column {
    long index = 0;
    QPointF first;
    QPointF last;
    QPointF low;
    QPointF high;
    int lowAt = 0;
    int highAt = 0;
    bool used = false;

    void start(long columnIndex, const QPointF &p, int at)
    {
        index = columnIndex;
        first = last = low = high = p;
        lowAt = highAt = at;
        used = true;
    }

    void add(const QPointF &p, int at)
    {
        last = p;
        // Pixel y grows downwards: the lowest power has the largest y.
        if (p.y() > low.y()) {
            low = p;
            lowAt = at;
        }
        if (p.y() < high.y()) {
            high = p;
            highAt = at;
        }
    }

    void flushInto(QPolygonF &line)
    {
        if (!used)
            return;
        const auto append = [&line](const QPointF &p) {
            if (line.isEmpty() || line.last() != p)
                line.append(p);
        };
        append(first);
        if (lowAt <= highAt) {
            append(low);
            append(high);
        } else {
            append(high);
            append(low);
        }
        append(last);
        used = false;
    }
};

// First index in [from, to] whose x is not below value (to + 1 if none).
int firstNotBelow(const QwtSeriesData<QPointF> *series, int from, int to, double value)
{
    int lo = from;
    int hi = to + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (series->sample(size_t(mid)).x() < value)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace

PowerCurve::PowerCurve()
    : QwtPlotCurve(QString())
{
}

void PowerCurve::drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                           const QRectF &canvasRect, int from, int to) const
{
    const QwtSeriesData<QPointF> *series = data();
    if (!series || to <= from)
        return;

    // Only the visible samples and one neighbour on each side, so that the
    // line runs on to the edge of the canvas.
    // The canvas reaches a little beyond the scale on either side.
    const double edge1 = xMap.invTransform(canvasRect.left());
    const double edge2 = xMap.invTransform(canvasRect.right());
    const double left = std::min(edge1, edge2);
    const double right = std::max(edge1, edge2);
    const int begin = std::max(from, firstNotBelow(series, from, to, left) - 1);
    const int end = std::min(to, firstNotBelow(series, from, to, right));
    if (end <= begin)
        return;

    const bool doAlign = QwtPainter::roundingAlignment(painter);
    // Points far outside are clipped against the canvas widened by the pen,
    // so the pen's end caps never show at the edge.
    const double penWidth = std::max(1.0, double(painter->pen().widthF()));
    const QRectF clipRect = canvasRect.adjusted(-penWidth, -penWidth, penWidth, penWidth);

    QPolygonF line;
    line.reserve(4 * (int(canvasRect.width()) + 4));
    const auto drawLine = [&]() {
        if (line.size() > 1)
            QwtPainter::drawPolyline(painter, QwtClipper::clipPolygonF(clipRect, line));
        line.clear();
    };

    Column column;
    for (int i = begin; i <= end; ++i) {
        const QPointF sample = series->sample(size_t(i));
        QPointF p(xMap.transform(sample.x()), yMap.transform(sample.y()));
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            column.flushInto(line);
            drawLine();
            continue;
        }
        if (doAlign)
            p = QPointF(qRound(p.x()), qRound(p.y()));
        const long columnIndex = std::lround(std::floor(std::clamp(p.x(), -1e9, 1e9)));
        if (column.used && column.index == columnIndex) {
            column.add(p, i);
        } else {
            column.flushInto(line);
            column.start(columnIndex, p, i);
        }
    }
    column.flushInto(line);
    drawLine();
}
