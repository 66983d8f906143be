// Records decoded per second, from the raw answer bytes given to feed() to
// the filled record: a single-wave, a five-wavelength multi-wave and a
// three-item PON answer.

#include "link/devdatas.h"
#include "link/frame.h"
#include "link/opmvalueframe.h"
#include "link/ponframe.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

void appendBe16(QByteArray &out, int value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void appendFloat(QByteArray &out, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((bits >> shift) & 0xFF));
}

QByteArray head()
{
    QByteArray out;
    out.append(char(6));
    out.append("Fiber7");
    appendBe16(out, 2024);
    out.append(QByteArray::fromHex("0A0F0E1E2D"));
    appendBe16(out, 1234);
    return out;
}

QByteArray opmEntry(int wavelength, float power)
{
    QByteArray out;
    appendBe16(out, wavelength);
    appendFloat(out, power);
    out.append(char(0x20));
    appendFloat(out, 125.9f);
    out.append(char(18));
    appendFloat(out, -3.25f);
    appendBe16(out, 270);
    return out;
}

QByteArray ponEntry(int type, int wavelength, float power)
{
    QByteArray out;
    out.append(char(type));
    appendBe16(out, wavelength);
    appendFloat(out, power);
    out.append(char(0));
    appendFloat(out, 15.2f);
    out.append(char(18));
    appendFloat(out, 0.0f);
    out.append(char(0));
    return out;
}

QByteArray answer(quint8 code, const QByteArray &payload)
{
    QByteArray out;
    out.append(char(0x3F));
    out.append(char(payload.size()));
    out.append(char(code));
    out.append(char(0));
    out.append(payload);
    out.append(char(byteSum(out)));
    return out;
}

template <typename FrameType, typename Check>
void decode(benchmark::State &state, const QByteArray &bytes, Check recordFilled)
{
    DevDatas meter;
    meter.rangeCode = 1;
    for (auto _ : state) {
        FrameType frame(&meter); // the pages use a fresh frame for every record
        if (frame.feed(bytes) != DataOk || !recordFilled(frame)) {
            state.SkipWithError("answer not decoded");
            break;
        }
        benchmark::DoNotOptimize(frame.itemData);
    }
    state.SetItemsProcessed(state.iterations());
}

void singleWave(benchmark::State &state)
{
    const QByteArray bytes = answer(0x06, head() + opmEntry(1310, -12.34f));
    decode<OpmValueFrame>(state, bytes, [](const OpmValueFrame &f) { return f.itemData.singleWaveOpmDatas.size() == 1; });
}

void multiWave(benchmark::State &state)
{
    QByteArray payload = head();
    for (int wavelength : {850, 1300, 1310, 1490, 1550})
        payload += opmEntry(wavelength, -20.5f);
    const QByteArray bytes = answer(0x07, payload);
    decode<OpmValueFrame>(state, bytes, [](const OpmValueFrame &f) { return f.itemData.singleWaveOpmDatas.size() == 5; });
}

void pon(benchmark::State &state)
{
    const QByteArray bytes =
        answer(0x09, head() + ponEntry(0, 1310, -18.5f) + ponEntry(1, 1490, -21.0f) + ponEntry(2, 1550, -85.0f));
    decode<PonFrame>(state, bytes, [](const PonFrame &f) { return f.itemData.powerInfos.size() == 3; });
}

} // namespace

BENCHMARK(singleWave);
BENCHMARK(multiWave);
BENCHMARK(pon);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The frames trace every record on the debug stream; a benchmark measures
    // the decoding, not a terminal.
    QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
