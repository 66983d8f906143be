#include "domain/powerstatistics.h"

#include <algorithm>
#include <cmath>

void PowerStatistics::Extremes::take(double x)
{
    if (!any) {
        minimum = maximum = x;
        any = true;
        return;
    }
    minimum = std::min(minimum, x);
    maximum = std::max(maximum, x);
}

void PowerStatistics::Extremes::take(const Extremes &other)
{
    if (!other.any)
        return;
    take(other.minimum);
    take(other.maximum);
}

void PowerStatistics::add(double power)
{
    const bool finite = std::isfinite(power);
    if (finite && !hasOrigin) {
        origin = power;
        hasOrigin = true;
    }
    const long double shifted = finite ? static_cast<long double>(power) - origin : 0.0L;
    sums.append(sums.last() + shifted);
    squares.append(squares.last() + shifted * shifted);
    counts.append(counts.last() + (finite ? 1 : 0));
    values.append(power);
    if ((values.size() - 1) % BlockSize == 0)
        blocks.append(Extremes());
    if (finite) {
        blocks.last().take(power);
        all.take(power);
    }
}

void PowerStatistics::clear()
{
    *this = PowerStatistics();
}

PowerStatistics::Summary PowerStatistics::overall() const
{
    return summarise(counts.last(), sums.last(), squares.last(), all);
}

PowerStatistics::Summary PowerStatistics::range(int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, size() - 1);
    if (first > last)
        return Summary();

    Extremes extremes;
    const int firstBlock = first / BlockSize;
    const int lastBlock = last / BlockSize;
    const auto scan = [&](int from, int to) {
        for (int i = from; i <= to; ++i) {
            if (std::isfinite(values.at(i)))
                extremes.take(values.at(i));
        }
    };
    if (firstBlock == lastBlock) {
        scan(first, last);
    } else {
        scan(first, (firstBlock + 1) * BlockSize - 1);
        for (int b = firstBlock + 1; b < lastBlock; ++b)
            extremes.take(blocks.at(b));
        scan(lastBlock * BlockSize, last);
    }
    return summarise(counts.at(last + 1) - counts.at(first), sums.at(last + 1) - sums.at(first),
                     squares.at(last + 1) - squares.at(first), extremes);
}

PowerStatistics::Summary PowerStatistics::summarise(int count, long double sum, long double sumSquares,
                                                    const Extremes &extremes) const
{
    Summary summary;
    if (count <= 0 || !extremes.any)
        return summary;
    summary.count = count;
    summary.minimum = extremes.minimum;
    summary.maximum = extremes.maximum;
    summary.peakToPeak = extremes.maximum - extremes.minimum;
    const long double n = count;
    const long double shiftedMean = sum / n;
    // The mean cannot leave the readings' own range; rounding could nudge it
    // out by an ulp, which would show as a mean below the minimum.
    summary.mean = std::clamp(double(origin + shiftedMean), summary.minimum, summary.maximum);
    // Equal readings have no spread at all, whatever the rounding says.
    if (summary.peakToPeak == 0.0) {
        summary.mean = summary.minimum;
        return summary;
    }
    const long double variance = std::max(0.0L, sumSquares / n - shiftedMean * shiftedMean);
    summary.standardDeviation = double(std::sqrt(variance));
    return summary;
}
