// Cost of taking one live reading on a shown chart page, including the
// repaint of the plot, with 1 000, 10 000, 65 535 and 172 800 readings
// already stored (the last is a 24-hour run at one reading every 0.5 s).

#include "link/realtimeopmvalueframe.h"
#include "widgets/chartform.h"

#include <QApplication>
#include <QLoggingCategory>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <qwt_plot.h>

namespace {

// Iterations per size are fixed so the store stays close to its size.
constexpr int Iterations = 200;

double powerAt(int i)
{
    // A wandering level with some ripple, so the curve crosses many pixels.
    return -30.0 + 8.0 * std::sin(i * 0.003) + 1.5 * std::sin(i * 0.7);
}

void feed(ChartForm *chart, int i)
{
    RealTimeOpmValueFrame *frame = chart->frame();
    frame->powerValue = float(powerAt(i));
    frame->power = QString::number(frame->powerValue, 'f', 2);
    frame->wavelength = QStringLiteral("1310");
    frame->frequency = QStringLiteral("270");
    chart->addRealTimeValue();
}

void BM_AddRealTimeValue(benchmark::State &state)
{
    const int stored = int(state.range(0));
    auto chart = std::make_unique<ChartForm>();
    chart->resize(1024, 640);
    chart->show();
    for (int i = 0; i < stored; ++i) {
        feed(chart.get(), i);
        // As between readings in the application: keeps the posted
        // repaint requests from piling up.
        if (i % 256 == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();

    int next = stored;
    for (auto _ : state) {
        feed(chart.get(), next++);
        // Paints the page (the plot's canvas with the whole curve).
        chart->repaint();
    }
    state.counters["readings"] = chart->sampleCount();
}

BENCHMARK(BM_AddRealTimeValue)->Arg(1000)->Arg(10000)->Arg(65535)->Arg(172800)->Iterations(Iterations)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumisk);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
