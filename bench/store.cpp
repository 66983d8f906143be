// A full meter's worth of single-wave records (65 535) through addItemData of
// a shown single-wave page: total time, and heap kept per stored record.

#include "link/opmitemdata.h"
#include "views/opmform.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <vector>

namespace {
constexpr int MeterRecords = 65535;

// Built the way the record frame decodes an answer: fresh texts per record.
OpmItemData makeRecord(int i)
{
    OpmItemData r;
    r.number = QString::number(i).rightJustified(4, QLatin1Char('0'));
    r.name = QStringLiteral("F%1").arg(i % 1000, 3, 10, QLatin1Char('0'));
    r.time = QStringLiteral("2024-05-06 10:%1:%2").arg(i / 60 % 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
    SingleWaveOpmData w;
    w.wavelength = QString::number(i % 2 ? 1310 : 1550);
    w.power = QString::number(-10.0 - (i % 500) / 100.0, 'f', 2);
    w.reference = QStringLiteral("---");
    w.powerW = QString::number(100.0 - (i % 90), 'f', 2);
    w.frequency = QStringLiteral("CW");
    w.powerUnit = QStringLiteral("dBm");
    w.powerWUnit = QStringLiteral("uW");
    r.singleWaveOpmDatas << w;
    return r;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

void BM_StoreFullMeter(benchmark::State &state)
{
    std::vector<OpmItemData> records;
    records.reserve(MeterRecords);
    for (int i = 1; i <= MeterRecords; ++i)
        records.push_back(makeRecord(i));

    for (auto _ : state) {
        OpmForm form;
        form.resize(1000, 600);
        form.show();
        for (const OpmItemData &record : records)
            form.addItemData(record);
        benchmark::DoNotOptimize(form.itemCount());
        state.PauseTiming();
        form.clearDatas();
        state.ResumeTiming();
    }

    // Heap per record, with each record decoded fresh and then dropped by its
    // producer, so the store holds the only copy.
    OpmForm form;
    form.resize(1000, 600);
    form.show();
    const size_t before = heapInUse();
    for (int i = 1; i <= MeterRecords; ++i)
        form.addItemData(makeRecord(i));
    const size_t after = heapInUse();
    state.counters["records"] = form.itemCount();
    state.counters["bytes_per_record"] = double(after - before) / MeterRecords;
}
BENCHMARK(BM_StoreFullMeter)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The pages' diagnostic lines would otherwise be timed as terminal output.
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
