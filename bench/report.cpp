// Writing the largest reports a meter can hold: 65 535 single-wave records,
// and 65 535 partial-wave records of which every other one has two waves.
// Reports wall time per save and the process's peak resident memory; run one
// benchmark per process (--benchmark_filter) to see each one's own peak.

#include "report/opmxlsx.h"
#include "report/partialopmxlsx.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kRecords = 65535;

SingleWaveOpmData wave(int i, const char *wavelength)
{
    SingleWaveOpmData w;
    w.wavelength = QString::fromLatin1(wavelength);
    w.power = QString::number(-10.0 - (i % 500) / 100.0, 'f', 2);
    w.reference = (i % 3) ? QStringLiteral("---") : QStringLiteral("-3.00");
    w.powerW = QString::number(100.0 / (1 + i % 97), 'f', 2);
    w.frequency = QStringLiteral("270");
    w.powerUnit = QStringLiteral("dBm");
    w.powerWUnit = QStringLiteral("uW");
    return w;
}

OpmItemData record(int i)
{
    OpmItemData item;
    item.number = QString::number(i + 1);
    item.name = QStringLiteral("Fiber-%1").arg(i % 1000);
    item.time = QStringLiteral("2024-05-06 07:%1:%2").arg(i / 60 % 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
    return item;
}

QList<OpmItemData> singleWaveRecords()
{
    QList<OpmItemData> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        OpmItemData item = record(i);
        item.singleWaveOpmDatas << wave(i, "1310");
        records << item;
    }
    return records;
}

QList<OpmItemData> partialWaveRecords()
{
    QList<OpmItemData> records;
    records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        OpmItemData item = record(i);
        PartialOpmData reading;
        reading.waveCount = (i % 2) ? 1 : 2;
        reading.wave1 = wave(i, "1310");
        reading.passStatus1 = i % 4;
        reading.wave2 = wave(i + 1, "1550");
        reading.passStatus2 = (i + 1) % 4;
        item.partialOpmDatas << reading;
        records << item;
    }
    return records;
}

double peakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

template <typename Save>
void runSave(benchmark::State &state, const QList<OpmItemData> &records, Save save)
{
    QTemporaryDir dir;
    const double before = peakResidentMiB();
    for (auto _ : state) {
        if (!save(records, dir.path()))
            state.SkipWithError("save failed");
        state.PauseTiming();
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.path() + QLatin1Char('/') + name);
        state.ResumeTiming();
    }
    state.counters["records"] = kRecords;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
    state.counters["rss_before_MiB"] = before;
}

void BM_SingleWaveReport(benchmark::State &state)
{
    const QList<OpmItemData> records = singleWaveRecords();
    runSave(state, records, [](const QList<OpmItemData> &r, const QString &dir) {
        return OpmXlsx().saveSingleWave(r, dir);
    });
}

void BM_PartialWaveReport(benchmark::State &state)
{
    const QList<OpmItemData> records = partialWaveRecords();
    runSave(state, records, [](const QList<OpmItemData> &r, const QString &dir) {
        return PartialOpmXlsx().save(r, dir);
    });
}

} // namespace

BENCHMARK(BM_SingleWaveReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PartialWaveReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
