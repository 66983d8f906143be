// Live statistics against a plain two-pass computation over the same
// readings, and the loss against a PC-side reference.

#include "domain/livereference.h"
#include "domain/powerstatistics.h"
#include "testregistry.h"

#include <QTest>
#include <climits>
#include <cmath>

namespace {
// Asks for overall() rather than a range.
constexpr int Overall = INT_MIN;

PowerStatistics::Summary twoPass(const QVector<double> &values, int first, int last)
{
    PowerStatistics::Summary s;
    long double sum = 0;
    for (int i = std::max(first, 0); i <= std::min(last, int(values.size()) - 1); ++i) {
        if (!std::isfinite(values[i]))
            continue;
        if (s.count == 0)
            s.minimum = s.maximum = values[i];
        s.minimum = std::min(s.minimum, values[i]);
        s.maximum = std::max(s.maximum, values[i]);
        sum += values[i];
        ++s.count;
    }
    if (s.count == 0)
        return s;
    const long double mean = sum / s.count;
    long double squares = 0;
    for (int i = std::max(first, 0); i <= std::min(last, int(values.size()) - 1); ++i) {
        if (std::isfinite(values[i]))
            squares += (values[i] - mean) * (values[i] - mean);
    }
    s.mean = double(mean);
    s.standardDeviation = double(std::sqrt(squares / s.count));
    s.peakToPeak = s.maximum - s.minimum;
    return s;
}

QVector<double> series(int count, double offset, double step, double noise)
{
    QVector<double> values;
    for (int i = 0; i < count; ++i)
        values << offset + step * i + noise * ((i * 7919) % 13 - 6);
    return values;
}
} // namespace

class TestPowerStatistics : public QObject
{
    Q_OBJECT
private slots:
    void matchesTwoPass_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        QTest::newRow("one reading") << QVector<double>{-20.5} << Overall << 0;
        QTest::newRow("constant") << QVector<double>(1000, -17.3) << Overall << 0;
        QTest::newRow("constant, range") << QVector<double>(1000, -17.3) << 300 << 700;
        QTest::newRow("large offset") << series(600, 1e6, 0.0, 0.001) << Overall << 0;
        QTest::newRow("large offset, late range") << series(600, 1e6, 0.0, 0.001) << 500 << 599;
        QTest::newRow("drift far from the first reading, short range")
            << series(2000, -60.0, 0.035, 0.0005) << 1990 << 1999;
        QTest::newRow("view at the left edge") << series(1000, -20, 0, 0.01) << 0 << 4;
        QTest::newRow("view at the right edge") << series(1000, -20, 0, 0.01) << 995 << 999;
        QTest::newRow("view beyond both edges") << series(1000, -20, 0.001, 0.01) << -50 << 1200;
        QTest::newRow("view across many blocks") << series(3000, -30, 0.002, 0.02) << 100 << 2900;
        QTest::newRow("view of one reading") << series(300, -30, 0.002, 0.02) << 255 << 255;
        QTest::newRow("empty: inverted") << series(10, -20, 0, 0.01) << 6 << 5;
        QTest::newRow("empty: past the readings") << series(10, -20, 0, 0.01) << 10 << 20;
        QTest::newRow("empty: no readings") << QVector<double>() << Overall << 0;
        QTest::newRow("not finite readings count in nothing")
            << QVector<double>{qQNaN(), -10.0, qInf(), -12.0, -11.0} << 0 << 2;
        QTest::newRow("only a not finite reading") << QVector<double>{qQNaN()} << Overall << 0;
    }

    void matchesTwoPass()
    {
        QFETCH(QVector<double>, values);
        QFETCH(int, first);
        QFETCH(int, last);
        PowerStatistics statistics;
        for (double v : values)
            statistics.add(v);
        const bool overall = first == Overall;
        const PowerStatistics::Summary got = overall ? statistics.overall() : statistics.range(first, last);
        const PowerStatistics::Summary want = overall ? twoPass(values, 0, int(values.size()) - 1)
                                                      : twoPass(values, first, last);
        QCOMPARE(got.count, want.count);
        if (want.count == 0)
            return;
        QCOMPARE(got.minimum, want.minimum);
        QCOMPARE(got.maximum, want.maximum);
        QCOMPARE(got.peakToPeak, want.peakToPeak);
        QVERIFY2(std::abs(got.mean - want.mean) <= 1e-9 * std::max(1.0, std::abs(want.mean)),
                 qPrintable(QString::number(got.mean - want.mean)));
        QVERIFY2(std::abs(got.standardDeviation - want.standardDeviation) <= 1e-9,
                 qPrintable(QString::number(got.standardDeviation, 'g', 17) + " vs "
                            + QString::number(want.standardDeviation, 'g', 17)));
        // Equal readings have no spread at all, and their mean is the reading.
        if (want.peakToPeak == 0.0) {
            QCOMPARE(got.standardDeviation, 0.0);
            QCOMPARE(got.mean, want.minimum);
        }
    }

    void clearStartsAfresh()
    {
        PowerStatistics statistics;
        for (double v : series(700, 50, 0, 1))
            statistics.add(v);
        statistics.clear();
        statistics.add(-3.0);
        QCOMPARE(statistics.size(), 1);
        QCOMPARE(statistics.range(0, 600).maximum, -3.0);
        QCOMPARE(statistics.overall().mean, -3.0);
    }

    void lossAgainstTheReference()
    {
        LiveReference reference;
        QVERIFY(!reference.set()); // nothing seen yet
        reference.noteReading("1310", -10.0);
        reference.noteReading("1550", -12.0);
        reference.noteReading("1310", -11.0);
        QVERIFY(!reference.loss("1310", -11.0));
        QVERIFY(reference.set());
        // The latest reading of each wavelength is its reference.
        QCOMPARE(*reference.loss("1310", -14.5), 3.5);
        QCOMPARE(*reference.loss("1550", -12.0), 0.0);
        QVERIFY(!reference.loss("1490", -12.0));
        QVERIFY(!reference.loss("1310", qQNaN()));
        // A new run keeps the reference but not the old run's readings.
        reference.clearReadings();
        reference.noteReading("1550", -20.0);
        QVERIFY(reference.set());
        QCOMPARE(*reference.loss("1310", -14.5), 3.5);
        QCOMPARE(*reference.loss("1550", -21.0), 1.0);
    }
};

LUMISK_TEST(TestPowerStatistics)
#include "tst_powerstatistics.moc"
