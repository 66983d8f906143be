#pragma once
// The chart's readings as the power curve's samples: reading i lies at x = i.
// Next to the powers it keeps, for every stretch of 4, 16, 64, ...
// readings, their lowest and highest finite power, brought up to date as
// each reading arrives. With them the curve finds the readings it draws in
// a pixel column (the first one where the column's line is lowest and the
// first where it is highest) by visiting a few dozen stretches instead of
// every reading: the cost of a paint follows the canvas width, not the
// length of the run. Readings that are not finite are listed apart: they
// break the line.

#include <QPointF>
#include <QVarLengthArray>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qwt_series_data.h>
#include <utility>

class PowerSeries : public QwtSeriesData<QPointF>
{
public:
    void append(double power);
    void clear();
    int count() const { return int(powers.size()); }
    double power(int index) const { return powers.at(index); }

    size_t size() const override { return size_t(powers.size()); }
    QPointF sample(size_t i) const override { return QPointF(double(i), powers.at(int(i))); }
    // Over the finite powers; invalid while there is none.
    QRectF boundingRect() const override;

    // First reading at or after `from` whose power is not finite, or count().
    int nextGap(int from) const;
    // First reading at or after `from` whose power is finite, or count().
    int nextFinite(int from) const;

    // Over readings first..last, all finite, and a mapping `f` of a power
    // that never falls or never rises as the power grows (a scale map, also
    // rounded to pixels): the first reading where f equals f of the lowest
    // power, and the first where it equals f of the highest. Those are the
    // first readings where f is least and greatest, as a walk over the
    // readings that takes only strict improvements would find them.
    template <class Map>
    std::pair<int, int> firstExtremes(int first, int last, const Map &f) const;

private:
    // Lowest and highest finite power of a stretch; empty when it has none.
    struct Extremes {
        double lowest;
        double highest;
        static Extremes none()
        {
            return {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
        }
        bool isEmpty() const { return lowest > highest; }
        void take(double value)
        {
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        void take(const Extremes &other)
        {
            lowest = std::min(lowest, other.lowest);
            highest = std::max(highest, other.highest);
        }
    };
    // Readings are summarised in stretches of Fan, Fan^2, Fan^3, ...; a
    // small fan keeps the stretches a range needs and the steps down to a
    // single reading few.
    static constexpr int LevelShift = 2;
    static constexpr int Fan = 1 << LevelShift;

    // A stretch of Fan^level readings, the index-th of its level.
    struct Stretch {
        int level;
        int index;
        Extremes extremes;
    };
    // Enough for the widest cover: at most 2 * (Fan - 1) stretches on each
    // level below the top and Fan on the top one, for any int count. Left
    // uninitialised: a paint asks for a cover per pixel column.
    struct Cover {
        static constexpr int Capacity = 2 * (Fan - 1) * (32 / LevelShift) + Fan;
        Stretch stretches[Capacity];
        int size = 0;
        const Stretch *begin() const { return stretches; }
        const Stretch *end() const { return stretches + size; }
    };

    int stretchCount(int level) const { return level == 0 ? count() : int(levels.at(level - 1).size()); }
    Extremes extremes(int level, int index) const
    {
        if (level > 0)
            return levels.at(level - 1).at(index);
        const double power = powers.at(index);
        return std::isfinite(power) ? Extremes{power, power} : Extremes::none();
    }
    // The fewest stretches that together hold readings first..last, in order.
    void cover(int first, int last, Cover &into) const;
    // The first reading of the stretches whose lowest (or highest) power is
    // `target` or maps to the same f.
    template <bool Lowest, class Map>
    int firstReaching(const Cover &stretches, double target, const Map &f) const;

    QVector<double> powers;
    // levels[l - 1] holds the stretches of Fan^l readings. The top level has
    // at most Fan stretches.
    QVector<QVector<Extremes>> levels;
    // Indices of the readings that are not finite, ascending.
    QVector<int> gaps;
};

template <class Map>
std::pair<int, int> PowerSeries::firstExtremes(int first, int last, const Map &f) const
{
    Cover stretches;
    cover(first, last, stretches);
    if (stretches.size == 0)
        return {first, first};
    Extremes all = Extremes::none();
    for (const Stretch &stretch : stretches)
        all.take(stretch.extremes);
    return {firstReaching<true>(stretches, all.lowest, f), firstReaching<false>(stretches, all.highest, f)};
}

template <bool Lowest, class Map>
int PowerSeries::firstReaching(const Cover &stretches, double target, const Map &f) const
{
    // f is monotone, so a stretch holds a reading where f equals f(target)
    // exactly when f of its own lowest (highest) power does.
    const double mapped = f(target);
    const auto reaches = [&](const Extremes &extremes) {
        const double value = Lowest ? extremes.lowest : extremes.highest;
        return value == target || f(value) == mapped;
    };
    for (const Stretch &stretch : stretches) {
        if (!reaches(stretch.extremes))
            continue;
        // Down to the first reading of the stretch that reaches it.
        int level = stretch.level;
        int index = stretch.index;
        while (level > 0) {
            --level;
            const int lastChild = std::min(stretchCount(level), (index + 1) << LevelShift) - 1;
            index <<= LevelShift;
            while (index < lastChild && !reaches(extremes(level, index)))
                ++index;
        }
        return index;
    }
    return stretches.stretches[0].index;
}
