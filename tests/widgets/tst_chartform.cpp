// The real-time chart page: automatic scaling, the read-out marker, what the
// mouse and the wheel do on the canvas, the play/clean/reset buttons and
// saving the readings.

#include "link/realtimeopmvalueframe.h"
#include "testregistry.h"
#include "testsupport.h"
#include "widgets/chartform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <memory>
#include <qwt_plot.h>
#include <qwt_scale_div.h>

namespace {

std::unique_ptr<ChartForm> shownChart()
{
    auto chart = std::make_unique<ChartForm>();
    chart->resize(800, 500);
    chart->show();
    if (!QTest::qWaitForWindowExposed(chart.get()))
        qWarning("chart window not exposed");
    return chart;
}

void feed(ChartForm *chart, double power, const QString &wavelength = QStringLiteral("1310"),
          const QString &frequency = QStringLiteral("270"))
{
    RealTimeOpmValueFrame *frame = chart->frame();
    frame->powerValue = float(power);
    frame->power = QString::number(power, 'f', 2);
    frame->wavelength = wavelength;
    frame->frequency = frequency;
    chart->addRealTimeValue();
}

QwtPlot *plotOf(ChartForm *chart)
{
    return chart->findChild<QwtPlot *>(QStringLiteral("qwtPlot"));
}

QwtInterval axis(ChartForm *chart, int axisId)
{
    return plotOf(chart)->axisScaleDiv(axisId).interval();
}

QPushButton *button(ChartForm *chart, const char *name)
{
    return chart->findChild<QPushButton *>(QLatin1String(name));
}

QString labelText(ChartForm *chart, const char *name)
{
    return chart->findChild<QLabel *>(QLatin1String(name))->text();
}

void mouse(ChartForm *chart, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget *canvas = plotOf(chart)->canvas();
    QMouseEvent event(type, pos, canvas->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

void wheel(ChartForm *chart, QPoint pos, int delta, bool ctrl)
{
    QWidget *canvas = plotOf(chart)->canvas();
    QWheelEvent event(pos, canvas->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &event);
}

} // namespace

class TestChartForm : public QObject
{
    Q_OBJECT

private slots:
    void firstReadingScales_data();
    void firstReadingScales();
    void readingsLabelsAndClear();
    void frameGivenUpOutlivesPage();
    void markerShownFromSecondSample();
    void pointerOnCanvas_data();
    void pointerOnCanvas();
    void wheelZoom_data();
    void wheelZoom();
    void wheelZoomStopsAtLimits();
    void resetShowsEverythingReceived();
    void playClearsAfterSignal_data();
    void playClearsAfterSignal();
    void cleanAsksFirst();
    void unusualPowersStayDrawable();
    void saving_data();
    void saving();
    void statisticsFollowTheView();
    void referenceGivesTheLoss();
};

void TestChartForm::firstReadingScales_data()
{
    QTest::addColumn<double>("power");
    QTest::addColumn<double>("maxPower");
    QTest::addColumn<double>("minPower");
    QTest::addColumn<double>("yLow");
    QTest::addColumn<double>("yHigh");

    // One reading in range: a zero span, so the margin floor applies.
    QTest::newRow("-20 dBm") << -20.0 << -20.0 << -20.0 << -20.1 << -19.9;
    // Below the starting maximum of -80: the maximum stays.
    QTest::newRow("-90 dBm") << -90.0 << -80.0 << -90.0 << -91.0 << -79.0;
    QTest::newRow("above 100 pinned") << 150.0 << 100.0 << 0.0 << -10.0 << 110.0;
    QTest::newRow("below -100 pinned") << -150.0 << -80.0 << -100.0 << -102.0 << -78.0;
}

void TestChartForm::firstReadingScales()
{
    QFETCH(double, power);
    QFETCH(double, maxPower);
    QFETCH(double, minPower);
    QFETCH(double, yLow);
    QFETCH(double, yHigh);

    auto chart = shownChart();
    feed(chart.get(), power);

    QCOMPARE(chart->trackedMaxPower(), maxPower);
    QCOMPARE(chart->trackedMinPower(), minPower);
    const QwtInterval y = axis(chart.get(), QwtPlot::yLeft);
    QVERIFY2(qAbs(y.minValue() - yLow) < 1e-9 && qAbs(y.maxValue() - yHigh) < 1e-9,
             qPrintable(QStringLiteral("%1 .. %2").arg(y.minValue()).arg(y.maxValue())));
    const QwtScaleDiv x = plotOf(chart.get())->axisScaleDiv(QwtPlot::xBottom);
    QCOMPARE(x.ticks(QwtScaleDiv::MajorTick), (QList<double>{0.0, 1.0, 2.0}));
    QCOMPARE(chart->readoutMarker().yValue(), (minPower + maxPower) / 2);
}

void TestChartForm::readingsLabelsAndClear()
{
    auto chart = shownChart();
    feed(chart.get(), -12.5, QStringLiteral("1550"), QStringLiteral("1000"));
    QCOMPARE(labelText(chart.get(), "wavelengthLabel"), QStringLiteral("1550"));
    QCOMPARE(labelText(chart.get(), "powerLabel"), QStringLiteral("-12.50"));
    QCOMPARE(labelText(chart.get(), "freqLabel"), QStringLiteral("1000"));
    // The next request goes out with a fresh, empty frame.
    QVERIFY(chart->frame()->wavelength.isEmpty());

    // From the tenth sample on the x axis just spans the samples.
    for (int i = 0; i < 11; ++i)
        feed(chart.get(), -20.0);
    QCOMPARE(axis(chart.get(), QwtPlot::xBottom), QwtInterval(0.0, 11.0));
    QCOMPARE(chart->storedReadings().size(), 12);
    QCOMPARE(chart->storedTimes().size(), 12);

    // Clearing empties the store but keeps the labels and the axes.
    const QwtInterval y = axis(chart.get(), QwtPlot::yLeft);
    chart->clearDatas();
    QCOMPARE(chart->sampleCount(), 0);
    QVERIFY(chart->storedReadings().isEmpty() && chart->storedTimes().isEmpty());
    QCOMPARE(chart->trackedMaxPower(), -80.0);
    QCOMPARE(chart->trackedMinPower(), 0.0);
    QCOMPARE(axis(chart.get(), QwtPlot::yLeft), y);
    QCOMPARE(labelText(chart.get(), "powerLabel"), QStringLiteral("-20.00"));
}

void TestChartForm::frameGivenUpOutlivesPage()
{
    auto chart = std::make_unique<ChartForm>();
    // The main window gives up a frame still out with the worker and asks
    // for a fresh one; the old one must survive the page.
    QPointer<RealTimeOpmValueFrame> givenUp = chart->frame();
    chart->createFrame();
    QPointer<RealTimeOpmValueFrame> current = chart->frame();
    chart.reset();
    QVERIFY(givenUp);
    QVERIFY(!current);
    delete givenUp.data();
}

void TestChartForm::markerShownFromSecondSample()
{
    auto chart = shownChart();
    feed(chart.get(), -20.0, QStringLiteral("1310"), QStringLiteral("0"));
    QVERIFY(!chart->readoutMarker().isVisible());

    feed(chart.get(), -21.25, QStringLiteral("1490"), QStringLiteral("2000"));
    QVERIFY(chart->readoutMarker().isVisible());
    QCOMPARE(chart->readoutMarker().xValue(), 1.0);
    const QString time = chart->storedTimes().at(1).toString(QStringLiteral("HH:mm:ss"));
    QCOMPARE(chart->readoutMarker().readoutText(),
             QStringLiteral("Power: -21.250dBm\nWave.: 1490nm\nFreq.: 2000Hz\nTime: ") + time);

    // After a clear the marker waits at the first sample.
    chart->clearDatas();
    QVERIFY(!chart->readoutMarker().isVisible());
    feed(chart.get(), -5.0, QStringLiteral("1550"));
    QVERIFY(!chart->readoutMarker().isVisible());
    feed(chart.get(), -6.0);
    QVERIFY(chart->readoutMarker().isVisible());
    QCOMPARE(chart->readoutMarker().xValue(), 0.0);
    QVERIFY(chart->readoutMarker().readoutText().startsWith(QStringLiteral("Power: -5.000dBm\nWave.: 1550nm")));
}

void TestChartForm::pointerOnCanvas_data()
{
    QTest::addColumn<double>("pressAt");   // sample index under the press
    QTest::addColumn<double>("releaseAt"); // sample index under the release
    QTest::addColumn<bool>("markerMoves");
    QTest::addColumn<bool>("panned");

    // The marker stands at x = 1 on a fresh page.
    QTest::newRow("drag the marker") << 1.0 << 12.0 << true << false;
    QTest::newRow("drag beside the marker") << 1.4 << 8.0 << true << false;
    QTest::newRow("drag elsewhere pans") << 15.0 << 10.0 << false << true;
    QTest::newRow("click elsewhere") << 7.0 << 7.0 << true << false;
}

void TestChartForm::pointerOnCanvas()
{
    QFETCH(double, pressAt);
    QFETCH(double, releaseAt);
    QFETCH(bool, markerMoves);
    QFETCH(bool, panned);

    auto chart = shownChart();
    for (int i = 0; i < 20; ++i)
        feed(chart.get(), -30.0 + i);
    const QwtInterval xBefore = axis(chart.get(), QwtPlot::xBottom);

    QwtPlot *plot = plotOf(chart.get());
    const int midHeight = plot->canvas()->height() / 2;
    const QPoint press(int(plot->transform(QwtPlot::xBottom, pressAt)), midHeight);
    const QPoint release(int(plot->transform(QwtPlot::xBottom, releaseAt)), midHeight);
    mouse(chart.get(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    if (press != release) {
        mouse(chart.get(), QEvent::MouseMove, (press + release) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(chart.get(), QEvent::MouseMove, release, Qt::NoButton, Qt::LeftButton);
    }
    mouse(chart.get(), QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);

    QVERIFY(!chart->readoutMarker().isDragging());
    const double markerX = chart->readoutMarker().xValue();
    if (markerMoves) {
        QVERIFY2(qAbs(markerX - releaseAt) < 0.2, qPrintable(QString::number(markerX)));
        const double power = -30.0 + std::lround(releaseAt);
        QVERIFY(chart->readoutMarker().readoutText().startsWith(QStringLiteral("Power: %1dBm").arg(power, 0, 'f', 3)));
    } else {
        QCOMPARE(markerX, 1.0);
    }
    QCOMPARE(chart->isUserAdjusted(), panned);
    QCOMPARE(button(chart.get(), "resetBtn")->isEnabled(), panned);
    QCOMPARE(axis(chart.get(), QwtPlot::xBottom) != xBefore, panned);
}

void TestChartForm::wheelZoom_data()
{
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("delta");
    QTest::addColumn<double>("rangeFactor"); // 0: unchanged

    QTest::newRow("y one notch in") << false << 120 << 0.4;
    // -97 .. -13 two and a half times as wide would pass -100.
    QTest::newRow("y one notch out refused") << false << -120 << 0.0;
    QTest::newRow("x one notch in") << true << 120 << 0.4;
    QTest::newRow("x one notch out") << true << -120 << 2.5;
    // Several notches in one event keep zooming the same way.
    QTest::newRow("x two notches in") << true << 240 << 0.16;
    QTest::newRow("x three notches out") << true << -360 << 15.625;
    QTest::newRow("less than a notch") << false << 60 << 0.0;
    QTest::newRow("less than a notch back, ctrl") << true << -119 << 0.0;
}

void TestChartForm::wheelZoom()
{
    QFETCH(bool, ctrl);
    QFETCH(int, delta);
    QFETCH(double, rangeFactor);

    auto chart = shownChart();
    // Tracked range -90 .. -20: y axis -97 .. -13, x axis 0 .. 29.
    for (int i = 0; i < 30; ++i)
        feed(chart.get(), i % 2 ? -20.0 : -90.0);
    const int axisId = ctrl ? QwtPlot::xBottom : QwtPlot::yLeft;
    const int otherId = ctrl ? QwtPlot::yLeft : QwtPlot::xBottom;
    const QwtInterval before = axis(chart.get(), axisId);
    const QwtInterval other = axis(chart.get(), otherId);

    QwtPlot *plot = plotOf(chart.get());
    const QPoint pos(plot->canvas()->width() / 3, plot->canvas()->height() / 3);
    const double centre = plot->invTransform(axisId, ctrl ? pos.x() : pos.y());
    wheel(chart.get(), pos, delta, ctrl);

    const QwtInterval after = axis(chart.get(), axisId);
    QVERIFY(std::isfinite(after.minValue()) && std::isfinite(after.maxValue()));
    QCOMPARE(axis(chart.get(), otherId), other);
    QCOMPARE(chart->isUserAdjusted(), rangeFactor != 0.0);
    QCOMPARE(button(chart.get(), "resetBtn")->isEnabled(), rangeFactor != 0.0);
    if (rangeFactor == 0.0) {
        QCOMPARE(after, before);
        return;
    }
    QVERIFY(qAbs(after.width() - before.width() * rangeFactor) < 1e-6);
    // The value under the pointer stays where it was.
    const double ratio = (centre - before.minValue()) / before.width();
    QVERIFY(qAbs(after.minValue() + ratio * after.width() - centre) < 1e-6);
}

void TestChartForm::wheelZoomStopsAtLimits()
{
    auto chart = shownChart();
    for (int i = 0; i < 30; ++i)
        feed(chart.get(), -40.0 + (i % 5));
    QwtPlot *plot = plotOf(chart.get());
    const QPoint pos(plot->canvas()->width() / 2, plot->canvas()->height() / 2);

    for (bool ctrl : {false, true}) {
        const int axisId = ctrl ? QwtPlot::xBottom : QwtPlot::yLeft;
        const double limit = ctrl ? 1.0 : 0.1; // one sample, a tenth of a dB
        for (int notches = 0; axis(chart.get(), axisId).width() >= limit && notches < 50; ++notches)
            wheel(chart.get(), pos, 120, ctrl);
        const QwtInterval smallest = axis(chart.get(), axisId);
        QVERIFY(smallest.width() < limit && smallest.width() > limit * 0.4 * 0.99);
        wheel(chart.get(), pos, 120, ctrl);
        QCOMPARE(axis(chart.get(), axisId), smallest);
        wheel(chart.get(), pos, -120, ctrl);
        QVERIFY(axis(chart.get(), axisId).width() > smallest.width());
    }
}

void TestChartForm::resetShowsEverythingReceived()
{
    auto chart = shownChart();
    for (int i = 0; i < 12; ++i)
        feed(chart.get(), -30.0);
    QwtPlot *plot = plotOf(chart.get());
    wheel(chart.get(), QPoint(plot->canvas()->width() / 2, plot->canvas()->height() / 2), 120, false);
    const QwtInterval held = axis(chart.get(), QwtPlot::yLeft);

    // While the user holds the view, new readings do not move it.
    feed(chart.get(), -50.0);
    feed(chart.get(), -10.0);
    QCOMPARE(axis(chart.get(), QwtPlot::yLeft), held);

    button(chart.get(), "resetBtn")->click();
    QVERIFY(!chart->isUserAdjusted());
    QVERIFY(!button(chart.get(), "resetBtn")->isEnabled());
    // The view covers the readings that came in meanwhile.
    QCOMPARE(axis(chart.get(), QwtPlot::yLeft), QwtInterval(-54.0, -6.0));
    QCOMPARE(axis(chart.get(), QwtPlot::xBottom), QwtInterval(0.0, 13.0));
}

void TestChartForm::playClearsAfterSignal_data()
{
    QTest::addColumn<bool>("clearOnResume");
    QTest::newRow("fresh curve") << true;
    QTest::newRow("curve goes on") << false;
}

void TestChartForm::playClearsAfterSignal()
{
    QFETCH(bool, clearOnResume);

    auto chart = shownChart();
    feed(chart.get(), -10.0);
    feed(chart.get(), -11.0);
    chart->setClearOnResume(clearOnResume);

    QList<int> countsAtSignal;
    QSignalSpy spy(chart.get(), &ChartForm::resumePause);
    connect(chart.get(), &ChartForm::resumePause, chart.get(),
            [&countsAtSignal, &chart]() { countsAtSignal << chart->sampleCount(); });

    QPushButton *play = button(chart.get(), "playBtn");
    play->click();
    QCOMPARE(spy.takeFirst(), (QVariantList{true, true}));
    QCOMPARE(countsAtSignal, QList<int>{2});
    QCOMPARE(chart->sampleCount(), clearOnResume ? 0 : 2);

    // Pausing never clears.
    feed(chart.get(), -12.0);
    const int count = chart->sampleCount();
    play->click();
    QCOMPARE(spy.takeFirst(), (QVariantList{false, true}));
    QCOMPARE(chart->sampleCount(), count);

    // Unchecking from the main window is no click.
    play->setChecked(true);
    chart->setPlayUnchecked();
    QVERIFY(!play->isChecked());
    QVERIFY(spy.isEmpty());
}

void TestChartForm::cleanAsksFirst()
{
    auto chart = shownChart();
    QStringList emitted;
    connect(chart.get(), &ChartForm::stop, chart.get(), [&emitted]() { emitted << QStringLiteral("stop"); });
    connect(chart.get(), &ChartForm::cleardata, chart.get(), [&emitted]() { emitted << QStringLiteral("cleardata"); });
    QPushButton *clean = button(chart.get(), "cleanBtn");

    feed(chart.get(), -10.0);
    feed(chart.get(), -11.0);
    QString shown;
    testsupport::answerMessage(QStringLiteral("noBtn"), &shown);
    clean->click();
    QCOMPARE(shown, QStringLiteral("Whether to clear existing datas?"));
    QCOMPARE(chart->sampleCount(), 2);
    QVERIFY(emitted.isEmpty());

    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    clean->click();
    QCOMPARE(chart->sampleCount(), 0);
    QVERIFY(!chart->readoutMarker().isVisible());
    QCOMPARE(emitted, (QStringList{QStringLiteral("stop"), QStringLiteral("cleardata")}));
}

void TestChartForm::unusualPowersStayDrawable()
{
    auto chart = shownChart();
    for (double p : {-20.0, std::nan(""), HUGE_VAL, -HUGE_VAL, -25.0}) {
        feed(chart.get(), p);
        chart->repaint();
    }
    QCOMPARE(chart->trackedMaxPower(), 100.0);
    QCOMPARE(chart->trackedMinPower(), -100.0);
    const QwtInterval y = axis(chart.get(), QwtPlot::yLeft);
    QVERIFY(std::isfinite(y.minValue()) && std::isfinite(y.maxValue()));
    QVERIFY(std::isfinite(chart->readoutMarker().yValue()));
}

void TestChartForm::saving_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<bool>("writableDir");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("files");

    QTest::newRow("no readings") << 0 << true << QStringLiteral("Save Fail,No Data!") << 0;
    QTest::newRow("readings") << 3 << true << QStringLiteral("Report exported") << 1;
    QTest::newRow("missing directory") << 3 << false << QStringLiteral("Failed to export report") << 0;
}

void TestChartForm::saving()
{
    QFETCH(int, samples);
    QFETCH(bool, writableDir);
    QFETCH(QString, message);
    QFETCH(int, files);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto chart = shownChart();
    for (int i = 0; i < samples; ++i)
        feed(chart.get(), -10.0 - i);

    QString shown;
    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    chart->saveDatas(writableDir ? dir.path() : dir.filePath(QStringLiteral("missing/deeper")));
    QCOMPARE(shown, message);
    // A failed save keeps the readings.
    QCOMPARE(chart->sampleCount(), samples);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*-RT.xlsx")}, QDir::Files).size(), files);
}

// The statistics shown: everything received, and the readings the zoomed
// view holds; a reading arriving outside a held view leaves the latter alone.
void TestChartForm::statisticsFollowTheView()
{
    auto chart = shownChart();
    auto *label = chart->findChild<QLabel *>(QStringLiteral("statisticsLabel"));
    QVERIFY(label);
    for (double power : {-20.0, -10.0, -30.0, -12.0, -14.0, -16.0, -18.0, -40.0, -22.0, -24.0, -26.0, -28.0})
        feed(chart.get(), power);
    QCOMPARE(chart->viewStatistics().count, 12);
    QCOMPARE(chart->powerStatistics().overall().minimum, -40.0);
    QVERIFY(label->text().contains(QStringLiteral("min -40.00 / max -10.00")));

    plotOf(chart.get())->setAxisScale(QwtPlot::xBottom, 2.5, 6.2);
    QMetaObject::invokeMethod(chart.get(), "axisChanged");
    // Readings 3..6: -12, -14, -16, -18.
    const PowerStatistics::Summary view = chart->viewStatistics();
    QCOMPARE(view.count, 4);
    QCOMPARE(view.minimum, -18.0);
    QCOMPARE(view.maximum, -12.0);
    QCOMPARE(view.mean, -15.0);
    QVERIFY(qAbs(view.standardDeviation - std::sqrt(5.0)) < 1e-12);
    feed(chart.get(), 5.0);
    QCOMPARE(chart->viewStatistics().maximum, -12.0);
    QCOMPARE(chart->powerStatistics().overall().maximum, 5.0);
    QVERIFY(label->text().contains(QStringLiteral("4 readings")));

    chart->clearDatas();
    QCOMPARE(chart->powerStatistics().size(), 0);
    QCOMPARE(chart->viewStatistics().count, 0);
}

void TestChartForm::referenceGivesTheLoss()
{
    auto chart = shownChart();
    QPushButton *setReference = button(chart.get(), "setReferenceBtn");
    auto *loss = chart->findChild<QLabel *>(QStringLiteral("lossLabel"));
    QVERIFY(setReference && loss);
    QVERIFY(!setReference->isEnabled());
    feed(chart.get(), -10.0, "1310");
    feed(chart.get(), -12.0, "1550");
    QVERIFY(loss->isHidden());
    setReference->click();
    feed(chart.get(), -13.25, "1310");
    QVERIFY(!loss->isHidden());
    QCOMPARE(loss->text(), ChartForm::tr("Loss:") + QStringLiteral(" 3.25dB"));
    QVERIFY(chart->readoutMarker().readoutText().contains(ChartForm::tr("Loss") + QStringLiteral(": ")));
    feed(chart.get(), -11.0, "1490");
    QCOMPARE(loss->text(), ChartForm::tr("Loss:") + QStringLiteral(" ---"));
}

LUMISK_TEST(TestChartForm)
#include "tst_chartform.moc"
