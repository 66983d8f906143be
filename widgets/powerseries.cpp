#include "widgets/powerseries.h"

#include <cmath>

void PowerSeries::append(double power)
{
    const int index = count();
    powers.append(power);
    const bool finite = std::isfinite(power);
    if (!finite)
        gaps.append(index);

    int at = index;
    for (QVector<Extremes> &stretches : levels) {
        at >>= LevelShift;
        if (at == stretches.size())
            stretches.append(Extremes::none());
        if (finite)
            stretches[at].take(power);
    }
    // One level more once the top one outgrows a fan, so that a range
    // never takes more than a fan of stretches on the top level.
    const int top = int(levels.size());
    if (stretchCount(top) > Fan) {
        QVector<Extremes> above((stretchCount(top) + Fan - 1) >> LevelShift, Extremes::none());
        for (int i = 0; i < stretchCount(top); ++i)
            above[i >> LevelShift].take(extremes(top, i));
        levels.append(above);
    }
}

void PowerSeries::clear()
{
    powers.clear();
    levels.clear();
    gaps.clear();
}

QRectF PowerSeries::boundingRect() const
{
    Extremes all = Extremes::none();
    const int top = int(levels.size());
    for (int i = 0; i < stretchCount(top); ++i)
        all.take(extremes(top, i));
    if (all.isEmpty())
        return QRectF(1.0, 1.0, -2.0, -2.0);
    return QRectF(QPointF(0.0, all.lowest), QPointF(count() - 1, all.highest));
}

int PowerSeries::nextGap(int from) const
{
    const auto gap = std::lower_bound(gaps.cbegin(), gaps.cend(), from);
    return gap == gaps.cend() ? count() : *gap;
}

int PowerSeries::nextFinite(int from) const
{
    const auto gap = std::lower_bound(gaps.cbegin(), gaps.cend(), from);
    if (gap == gaps.cend() || *gap != from)
        return from;
    // Along a run of adjacent gaps, index minus position stays the same;
    // past it, it only grows.
    const int offset = from - int(gap - gaps.cbegin());
    int lo = int(gap - gaps.cbegin());
    int hi = gaps.size();
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (gaps.at(mid) - mid == offset)
            lo = mid;
        else
            hi = mid;
    }
    return gaps.at(lo) + 1;
}

void PowerSeries::cover(int first, int last, Cover &into) const
{
    // Whole stretches of a level are taken from the level above; the
    // readings left over at either end stay on this one. Those at the far
    // end are found backwards and put in order at the end.
    Stretch tail[Cover::Capacity];
    int tailSize = 0;
    into.size = 0;
    int begin = std::max(first, 0);
    int end = std::min(last, count() - 1) + 1;
    const int top = int(levels.size());
    for (int level = 0; begin < end; ++level) {
        if (level == top) {
            for (int i = begin; i < end; ++i)
                into.stretches[into.size++] = Stretch{level, i, extremes(level, i)};
            break;
        }
        for (; begin < end && (begin & (Fan - 1)) != 0; ++begin)
            into.stretches[into.size++] = Stretch{level, begin, extremes(level, begin)};
        while (begin < end && (end & (Fan - 1)) != 0) {
            --end;
            tail[tailSize++] = Stretch{level, end, extremes(level, end)};
        }
        begin >>= LevelShift;
        end >>= LevelShift;
    }
    while (tailSize > 0)
        into.stretches[into.size++] = tail[--tailSize];
}
