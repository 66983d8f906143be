#include "widgets/powercurve.h"

#include "widgets/powerseries.h"

#include <algorithm>
#include <cmath>
#include <qwt_clipper.h>
#include <qwt_painter.h>
#include <qwt_scale_map.h>
#include <qwt_series_data.h>

namespace {

// Samples mapped to the canvas, rounded to whole pixels when painting
// on screen.
struct PixelMap {
    const QwtScaleMap &xMap;
    const QwtScaleMap &yMap;
    bool doAlign;

    double x(double value) const
    {
        const double p = xMap.transform(value);
        return doAlign ? qRound(p) : p;
    }
    double y(double value) const
    {
        const double p = yMap.transform(value);
        return doAlign ? qRound(p) : p;
    }
};

long columnOf(double x)
{
    return std::lround(std::floor(std::clamp(x, -1e9, 1e9)));
}

// The polylines of a paint; a point equal to the one before adds nothing.
struct Polylines {
    QVector<QPolygonF> done;
    QPolygonF line;

    void add(const QPointF &p)
    {
        if (line.isEmpty() || line.last() != p)
            line.append(p);
    }
    // A gap, or the end: a single point draws nothing.
    void finish()
    {
        if (line.size() > 1)
            done.append(line);
        line.clear();
    }
};

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

    void flushInto(Polylines &polylines)
    {
        if (!used)
            return;
        polylines.add(first);
        if (lowAt <= highAt) {
            polylines.add(low);
            polylines.add(high);
        } else {
            polylines.add(high);
            polylines.add(low);
        }
        polylines.add(last);
        used = false;
    }
};

// First index in [from, to] whose x is not below value (to + 1 if none).
int firstNotBelow(const QwtSeriesData<QPointF> &series, int from, int to, double value)
{
    int lo = from;
    int hi = to + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (series.sample(size_t(mid)).x() < value)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void reduceBySample(const QwtSeriesData<QPointF> &series, const PixelMap &map, int begin, int end, Polylines &polylines)
{
    Column column;
    for (int i = begin; i <= end; ++i) {
        const QPointF sample = series.sample(size_t(i));
        const double x = map.xMap.transform(sample.x());
        const double y = map.yMap.transform(sample.y());
        if (!std::isfinite(x) || !std::isfinite(y)) {
            column.flushInto(polylines);
            polylines.finish();
            continue;
        }
        const QPointF p = map.doAlign ? QPointF(qRound(x), qRound(y)) : QPointF(x, y);
        const long columnIndex = columnOf(p.x());
        if (column.used && column.index == columnIndex) {
            column.add(p, i);
        } else {
            column.flushInto(polylines);
            column.start(columnIndex, p, i);
        }
    }
    column.flushInto(polylines);
}

// The same points as reduceBySample: a column's samples are found by a
// search on x, its lowest and highest sample through the series' summary.
void reduceBySummary(const PowerSeries &series, const PixelMap &map, int begin, int end, Polylines &polylines)
{
    const auto columnAt = [&](qint64 i) { return columnOf(map.x(double(i))); };
    const auto pointAt = [&](int i) { return QPointF(map.x(double(i)), map.y(series.power(i))); };
    const auto pixelY = [&](double power) { return map.y(power); };
    // Where a column ends in pixels, past its index: a column holds the x
    // that round to it on screen, else those from it up to the next one.
    const bool rising = (map.xMap.p2() - map.xMap.p1()) * (map.xMap.s2() - map.xMap.s1()) >= 0.0;
    const double pastEnd = map.doAlign ? 0.5 : 1.0;

    for (int i = series.nextFinite(begin); i <= end; i = series.nextFinite(i)) {
        const int runEnd = std::min(end, series.nextGap(i) - 1);
        while (i <= runEnd) {
            // Columns follow x, so a column's samples are one stretch. Where
            // it ends is guessed from the inverse map and the guess checked;
            // where it misses, the search steps out in growing strides
            // until past the column and halves back.
            const long index = columnAt(i);
            qint64 inside = i;
            qint64 outside = qint64(runEnd) + 1;
            const auto probe = [&](double at) {
                if (!(at > double(inside) && at < double(outside)))
                    return;
                if (columnAt(qint64(at)) == index)
                    inside = qint64(at);
                else
                    outside = qint64(at);
            };
            const double guess = std::ceil(map.xMap.invTransform(index + (rising ? pastEnd : pastEnd - 1.0)));
            probe(guess - 1.0);
            probe(guess);
            for (qint64 stride = 1; inside + stride < outside; stride *= 2) {
                if (columnAt(inside + stride) != index) {
                    outside = inside + stride;
                    break;
                }
                inside += stride;
            }
            while (outside - inside > 1) {
                const qint64 mid = inside + (outside - inside) / 2;
                if (columnAt(mid) == index)
                    inside = mid;
                else
                    outside = mid;
            }
            const int last = int(inside);
            // Which of the two is the column's lowest point on screen does not
            // matter: they are drawn in the order of their samples.
            const auto [lowAt, highAt] = series.firstExtremes(i, last, pixelY);
            Column column;
            column.start(index, pointAt(i), i);
            column.last = pointAt(last);
            column.low = pointAt(lowAt);
            column.lowAt = lowAt;
            column.high = pointAt(highAt);
            column.highAt = highAt;
            column.flushInto(polylines);
            i = last + 1;
        }
        polylines.finish();
    }
}

} // namespace

PowerCurve::PowerCurve()
    : QwtPlotCurve(QString())
{
}

QVector<QPolygonF> PowerCurve::lines(const QwtSeriesData<QPointF> &series, const QwtScaleMap &xMap,
                                     const QwtScaleMap &yMap, const QRectF &canvasRect, bool doAlign, int from,
                                     int to)
{
    if (to <= from)
        return {};

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
        return {};

    Polylines polylines;
    polylines.line.reserve(4 * (int(canvasRect.width()) + 4));
    const PixelMap map{xMap, yMap, doAlign};
    if (const auto *powers = dynamic_cast<const PowerSeries *>(&series))
        reduceBySummary(*powers, map, begin, end, polylines);
    else
        reduceBySample(series, map, begin, end, polylines);
    polylines.finish();
    return polylines.done;
}

void PowerCurve::drawLines(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
                           const QRectF &canvasRect, int from, int to) const
{
    const QwtSeriesData<QPointF> *series = data();
    if (!series)
        return;
    // Points far outside are clipped against the canvas widened by the pen,
    // so the pen's end caps never show at the edge.
    const double penWidth = std::max(1.0, double(painter->pen().widthF()));
    const QRectF clipRect = canvasRect.adjusted(-penWidth, -penWidth, penWidth, penWidth);
    const bool doAlign = QwtPainter::roundingAlignment(painter);
    for (const QPolygonF &line : lines(*series, xMap, yMap, canvasRect, doAlign, from, to))
        QwtPainter::drawPolyline(painter, QwtClipper::clipPolygonF(clipRect, line));
}
