// The chart's power curve draws a reduced polyline: it must look the same as
// the full one, also zoomed in and with points far outside the canvas. The
// chart's own samples are reduced through their summary, to exactly the
// points a walk over every sample gives.

#include "testregistry.h"
#include "widgets/powercurve.h"
#include "widgets/powerseries.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QVector>
#include <cmath>
#include <limits>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_canvas.h>
#include <qwt_scale_map.h>

namespace {

// Readings as a meter gives them, in hundredths of a dBm: a slow drift, a
// fast ripple and stretches of equal readings, so that many readings of a
// pixel column tie for its lowest or highest pixel. With gaps, some
// readings are not finite, one run of them long.
QVector<double> readings(int count, bool gaps)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QVector<double> powers(count);
    for (int i = 0; i < count; ++i) {
        const int at = i % 5000 < 700 ? i - i % 350 : i;
        powers[i] = std::round((-30.0 + 8.0 * std::sin(at * 0.002) + 3.0 * std::sin(at * 1.3)) * 100.0) / 100.0;
        if (gaps && (i % 977 == 5 || (i >= 3000 && i < 3400)))
            powers[i] = nan;
        else if (gaps && i % 1501 == 7)
            powers[i] = i % 2 ? inf : -inf;
    }
    return powers;
}

// What the plot's canvas shows of the curve; a PowerCurve gets the samples
// as the chart gives them (x is the index).
QImage render(QwtPlotCurve *curve, const QVector<double> &x, const QVector<double> &y, QRectF view)
{
    QwtPlot plot;
    plot.enableAxis(QwtPlot::yLeft, false);
    plot.enableAxis(QwtPlot::xBottom, false);
    plot.setCanvasBackground(Qt::white);
    static_cast<QwtPlotCanvas *>(plot.canvas())->setFrameStyle(QFrame::NoFrame);
    plot.resize(600, 300);
    plot.setAxisScale(QwtPlot::xBottom, view.left(), view.right());
    plot.setAxisScale(QwtPlot::yLeft, view.top(), view.bottom());
    curve->setPen(Qt::black, 0);
    if (dynamic_cast<PowerCurve *>(curve)) {
        auto *series = new PowerSeries;
        for (double power : y)
            series->append(power);
        curve->setData(series);
    } else {
        curve->setRawSamples(x.constData(), y.constData(), x.size());
    }
    curve->attach(&plot);
    plot.replot();
    const QImage image = plot.canvas()->grab().toImage();
    curve->detach();
    return image;
}

int inkPixels(const QImage &image)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            count += qGray(image.pixel(col, row)) < 128;
    return count;
}

bool inkAt(const QImage &image, int col, int row)
{
    return col >= 0 && col < image.width() && qGray(image.pixel(col, row)) < 128;
}

// Ink in one image with no ink in the other within one column to each side:
// the reduced line may put the clipped end of a steep stroke one pixel over.
int unmatchedPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int row = 0; row < a.height(); ++row)
        for (int col = 0; col < a.width(); ++col) {
            if (inkAt(a, col, row) && !inkAt(b, col - 1, row) && !inkAt(b, col, row) && !inkAt(b, col + 1, row))
                ++count;
            if (inkAt(b, col, row) && !inkAt(a, col - 1, row) && !inkAt(a, col, row) && !inkAt(a, col + 1, row))
                ++count;
        }
    return count;
}

} // namespace

class TestChartCurve : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeFullPolyline_data();
    void looksLikeFullPolyline();
    void gapsForReadingsThatAreNotNumbers();
    void summaryGivesTheWalksPoints_data();
    void summaryGivesTheWalksPoints();
};

void TestChartCurve::looksLikeFullPolyline_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<QRectF>("view"); // x from left to right, y from top to bottom

    QTest::newRow("few samples") << 300 << QRectF(QPointF(0, -45), QPointF(299, -15));
    QTest::newRow("many samples") << 50000 << QRectF(QPointF(0, -45), QPointF(49999, -15));
    QTest::newRow("zoomed in") << 50000 << QRectF(QPointF(20000.5, -35), QPointF(20040.5, -25));
    QTest::newRow("far outside vertically") << 5000 << QRectF(QPointF(100, -30.05), QPointF(4000, -29.95));
}

void TestChartCurve::looksLikeFullPolyline()
{
    QFETCH(int, samples);
    QFETCH(QRectF, view);

    QVector<double> x(samples);
    QVector<double> y(samples);
    for (int i = 0; i < samples; ++i) {
        x[i] = i;
        y[i] = -30.0 + 8.0 * std::sin(i * 0.002) + 3.0 * std::sin(i * 1.3);
    }
    // The reference leaves all clipping to the painter.
    QwtPlotCurve full;
    full.setPaintAttribute(QwtPlotCurve::ClipPolygons, false);
    PowerCurve reduced;
    const QImage expected = render(&full, x, y, view);
    const QImage actual = render(&reduced, x, y, view);

    const int ink = inkPixels(expected);
    QVERIFY(ink > 100);
    const int diff = unmatchedPixels(expected, actual);
    QVERIFY2(diff <= ink / 200, qPrintable(QStringLiteral("%1 of %2 pixels differ").arg(diff).arg(ink)));
}

void TestChartCurve::gapsForReadingsThatAreNotNumbers()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QVector<double> x{0, 1, 2, 3, 4, 5, 6, 7, 8};
    const QVector<double> y{-20, -21, nan, -22, inf, -23, -inf, -24, -25};
    PowerCurve curve;
    const QImage image = render(&curve, x, y, QRectF(QPointF(0, -30), QPointF(8, -15)));
    // The finite stretches are drawn; nothing is drawn across the gaps.
    QVERIFY(inkPixels(image) > 0);
    const int column = int(2.5 / 8 * image.width());
    for (int row = 0; row < image.height(); ++row)
        QVERIFY(qGray(image.pixel(column, row)) >= 128);
}

void TestChartCurve::summaryGivesTheWalksPoints_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<bool>("gaps");
    QTest::addColumn<QRectF>("view"); // x from left to right, y from the bottom of the canvas to its top

    const QRectF full(QPointF(0, -45), QPointF(172799, -15));
    QTest::newRow("single sample") << 1 << false << QRectF(QPointF(0, -45), QPointF(1, -15));
    QTest::newRow("two samples") << 2 << false << QRectF(QPointF(0, -45), QPointF(1, -15));
    QTest::newRow("few samples") << 300 << false << QRectF(QPointF(0, -45), QPointF(299, -15));
    QTest::newRow("a day of readings") << 172800 << false << full;
    QTest::newRow("zoomed in") << 50000 << false << QRectF(QPointF(20000.5, -35), QPointF(20040.5, -25));
    QTest::newRow("middle range") << 172800 << false << QRectF(QPointF(60000.3, -33), QPointF(91234.7, -27));
    QTest::newRow("panned past the end") << 50000 << false << QRectF(QPointF(45000, -45), QPointF(60000, -15));
    QTest::newRow("far outside vertically") << 5000 << false << QRectF(QPointF(100, -30.05), QPointF(4000, -29.95));
    QTest::newRow("y axis turned over") << 20000 << false << QRectF(QPointF(0, -15), QPointF(19999, -45));
    QTest::newRow("x axis turned over") << 20000 << false << QRectF(QPointF(19999, -45), QPointF(0, -15));
    QTest::newRow("gaps") << 20000 << true << QRectF(QPointF(0, -45), QPointF(19999, -15));
    QTest::newRow("gaps, zoomed in") << 20000 << true << QRectF(QPointF(2950, -45), QPointF(3450.5, -15));
    QTest::newRow("gaps, a day") << 172800 << true << full;
}

void TestChartCurve::summaryGivesTheWalksPoints()
{
    QFETCH(int, samples);
    QFETCH(bool, gaps);
    QFETCH(QRectF, view);

    const QVector<double> powers = readings(samples, gaps);
    PowerSeries summarised;
    QVector<QPointF> points;
    for (int i = 0; i < samples; ++i) {
        summarised.append(powers.at(i));
        points.append(QPointF(i, powers.at(i)));
    }
    const QwtPointSeriesData walked(points);

    const QRectF canvas(0, 0, 600, 300);
    QwtScaleMap xMap;
    xMap.setPaintInterval(canvas.left(), canvas.right());
    xMap.setScaleInterval(view.left(), view.right());
    QwtScaleMap yMap;
    yMap.setPaintInterval(canvas.bottom(), canvas.top());
    yMap.setScaleInterval(view.top(), view.bottom());

    // Whole pixels as on screen, and unrounded as in a PDF.
    for (bool doAlign : {true, false}) {
        const auto expected = PowerCurve::lines(walked, xMap, yMap, canvas, doAlign, 0, samples - 1);
        const auto actual = PowerCurve::lines(summarised, xMap, yMap, canvas, doAlign, 0, samples - 1);
        QCOMPARE(actual.size(), expected.size());
        for (int line = 0; line < expected.size(); ++line) {
            QCOMPARE(actual.at(line).size(), expected.at(line).size());
            for (int i = 0; i < expected.at(line).size(); ++i) {
                const QPointF a = actual.at(line).at(i);
                const QPointF e = expected.at(line).at(i);
                QVERIFY2(a.x() == e.x() && a.y() == e.y(),
                         qPrintable(QStringLiteral("line %1 point %2: (%3, %4) instead of (%5, %6)")
                                        .arg(line).arg(i).arg(a.x()).arg(a.y()).arg(e.x()).arg(e.y())));
            }
        }
    }
    if (samples > 2)
        QVERIFY(!PowerCurve::lines(walked, xMap, yMap, canvas, true, 0, samples - 1).isEmpty());
}

LUMISK_TEST(TestChartCurve)
#include "tst_chartcurve.moc"
