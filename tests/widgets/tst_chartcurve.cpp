// The chart's power curve draws a reduced polyline: it must look the same as
// the full one, also zoomed in and with points far outside the canvas.

#include "testregistry.h"
#include "widgets/powercurve.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QVector>
#include <cmath>
#include <limits>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_canvas.h>

namespace {

// What the plot's canvas shows of the curve.
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
    curve->setRawSamples(x.constData(), y.constData(), x.size());
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

LUMISK_TEST(TestChartCurve)
#include "tst_chartcurve.moc"
