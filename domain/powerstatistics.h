#pragma once
// Statistics of the live power readings: minimum, maximum, mean, standard
// deviation and peak-to-peak over every reading and over any index range
// (the part of the curve in view). Adding a reading costs constant time;
// mean and deviation of a range come from prefix sums in constant time, its
// minimum and maximum from per-block extremes (a range query touches at
// most two partial blocks and the whole blocks between them).
//
// The prefix sums hold (x - x0) and (x - x0)^2 in long double, x0 being the
// first finite reading: readings sit far from zero (around -20 dBm) and
// close together, so summing them unshifted would cancel most digits in
// sum(x^2) - sum(x)^2 / n. Readings that are not finite (a broken answer)
// keep their index but count in nothing.

#include <QVector>
#include <cstddef>

class PowerStatistics
{
public:
    struct Summary {
        int count = 0; // finite readings taken into account
        double minimum = 0.0;
        double maximum = 0.0;
        double mean = 0.0;
        double standardDeviation = 0.0; // of the readings themselves (divided by n)
        double peakToPeak = 0.0;
        bool isEmpty() const { return count == 0; }
    };

    void add(double power);
    void clear();
    int size() const { return int(counts.size()) - 1; }

    Summary overall() const;
    // Readings first..last (inclusive), clipped to the readings there are;
    // an empty or inverted range gives an empty summary.
    Summary range(int first, int last) const;

private:
    static constexpr int BlockSize = 256;

    struct Extremes {
        double minimum;
        double maximum;
        bool any = false;
        void take(double x);
        void take(const Extremes &other);
    };

    Summary summarise(int count, long double sum, long double sumSquares, const Extremes &extremes) const;

    double origin = 0.0;
    bool hasOrigin = false;
    // Entry i covers readings 0..i-1; entry 0 is the empty prefix.
    QVector<long double> sums{0.0L};
    QVector<long double> squares{0.0L};
    QVector<int> counts{0};
    QVector<double> values;
    QVector<Extremes> blocks;
    Extremes all;
};
