// The simulated meter seen through the application's own decoders: the
// variety of its made-up records, a scenario file, noise from the host and
// its clean exit.

#include "link/commands.h"
#include "link/devdatas.h"
#include "link/frame.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "link/realtimeopmvalueframe.h"
#include "link/uart.h"
#include "link/valuecountframe.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSerialPort>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestMeterSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false")); }
    void cleanupTestCase() { QLoggingCategory::setFilterRules(QString()); }
    void cleanup() { Uart::releaseAll(); }

    void countsPerKind_data();
    void countsPerKind();
    void multiWaveVariety();
    void partialWaveVerdicts();
    void ponAndXgPonItems();
    void liveReadingsChangeSlowly();
    void scenarioFile();
    void noiseFromTheHost();
    void stopRemovesTheLink();

private:
    bool connectTo(testsupport::MeterSim &sim, const QStringList &args)
    {
        if (!sim.start(args))
            return false;
        testsupport::setSerialPorts({sim.linkPath()});
        return Uart::init(false) == Uart::InitOk;
    }
    int count(const QByteArray &request)
    {
        ValueCountFrame frame;
        return Uart::exchange(request, &frame) == DataOk ? frame.count : -1;
    }

};

void TestMeterSim::countsPerKind_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("opm");
    QTest::addColumn<int>("multi");
    QTest::addColumn<int>("pon");
    QTest::newRow("kind 1") << QStringList{"--kind", "1", "--records", "7"} << 7 << 0 << 7;
    QTest::newRow("kind 2 no range") << QStringList{"--kind", "2", "--range", "0", "--records", "7"} << 0 << 0 << 7;
    QTest::newRow("kind 3") << QStringList{"--kind", "3", "--records", "7"} << 7 << 0 << 7;
    QTest::newRow("kind 5") << QStringList{"--kind", "5", "--records", "7"} << 7 << 7 << 0;
    QTest::newRow("kind 9") << QStringList{"--kind", "9", "--records", "7"} << 7 << 0 << 0;
    QTest::newRow("default") << QStringList{} << 12 << 12 << 0;
}

void TestMeterSim::countsPerKind()
{
    QFETCH(QStringList, args);
    QFETCH(int, opm);
    QFETCH(int, multi);
    QFETCH(int, pon);
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, args));
    QCOMPARE(count(Command::opmCount()), opm);
    QCOMPARE(count(Command::multiWaveCount()), multi);
    QCOMPARE(count(Command::ponCount()), pon);
}

void TestMeterSim::multiWaveVariety()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "5", "--records", "40"}));
    QSet<int> waveCounts;
    QSet<QString> powers;
    int code17 = 0;
    int noName = 0;
    int noTime = 0;
    bool nonAscii = false;
    for (int n = 1; n <= 40; ++n) {
        OpmValueFrame frame(DevDatas::instance());
        QCOMPARE(Uart::exchange(Command::multiWaveRecord(n), &frame), DataOk);
        const OpmItemData &item = frame.itemData;
        QCOMPARE(item.number, QString::number(n));
        waveCounts.insert(item.singleWaveOpmDatas.size());
        code17 += frame.isCode17 ? 1 : 0;
        noName += item.name == QLatin1String("---") ? 1 : 0;
        noTime += item.time == QLatin1String("---") ? 1 : 0;
        for (QChar c : item.name)
            nonAscii = nonAscii || c.unicode() > 127;
        for (const SingleWaveOpmData &wave : item.singleWaveOpmDatas)
            powers.insert(wave.power);
    }
    QCOMPARE(waveCounts, (QSet<int>{1, 2, 3, 4, 5}));
    QCOMPARE(code17, 10);
    QVERIFY(noName > 0);
    QVERIFY(noTime > 0);
    QVERIFY(nonAscii);
    QVERIFY(powers.contains(QStringLiteral("Low")));
    QVERIFY(powers.contains(QStringLiteral("High")));
    QVERIFY(powers.contains(QStringLiteral("0.00")));
}

void TestMeterSim::partialWaveVerdicts()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "9", "--records", "16"}));
    QSet<int> first;
    QSet<int> second;
    QSet<int> waves;
    for (int n = 1; n <= 16; ++n) {
        PartialOpmValueFrame frame(DevDatas::instance());
        QCOMPARE(Uart::exchange(Command::multiWaveRecord(n), &frame), DataOk);
        QCOMPARE(frame.itemData.partialOpmDatas.size(), 1);
        const PartialOpmData &data = frame.itemData.partialOpmDatas.first();
        waves.insert(data.waveCount);
        first.insert(data.passStatus1);
        if (data.waveCount == 2)
            second.insert(data.passStatus2);
    }
    QCOMPARE(waves, (QSet<int>{1, 2}));
    QCOMPARE(first, (QSet<int>{0, 1, 2, 3}));
    QCOMPARE(second, (QSet<int>{0, 1, 2, 3}));
}

void TestMeterSim::ponAndXgPonItems()
{
    testsupport::MeterSim pon;
    QVERIFY(connectTo(pon, {"--kind", "1", "--records", "6"}));
    QSet<int> types;
    bool shownInWatts = false;
    for (int n = 1; n <= 6; ++n) {
        PonFrame frame(DevDatas::instance());
        QCOMPARE(Uart::exchange(Command::ponRecord(n), &frame), DataOk);
        for (const PowerInfo &info : frame.itemData.powerInfos) {
            types.insert(info.typeCode);
            shownInWatts = shownInWatts || !info.showPower;
        }
    }
    QCOMPARE(types, (QSet<int>{0, 1, 2}));
    QVERIFY(shownInWatts);
    Uart::releaseAll();

    testsupport::MeterSim xg;
    QVERIFY(connectTo(xg, {"--kind", "3", "--records", "5"}));
    PonFrame frame(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::xgPonRecord(4), &frame), DataOk);
    QCOMPARE(frame.itemData.powerInfos.size(), 5);
}

void TestMeterSim::liveReadingsChangeSlowly()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "6"}));
    float last = 0;
    for (int i = 0; i < 5; ++i) {
        RealTimeOpmValueFrame frame(DevDatas::instance());
        QCOMPARE(Uart::exchange(Command::realTimeValue(), &frame), DataOk);
        QVERIFY(frame.powerValue > -20 && frame.powerValue < -4);
        if (i > 0)
            QVERIFY(qAbs(frame.powerValue - last) < 1.0f);
        last = frame.powerValue;
        QTest::qWait(50);
    }
    Uart::releaseAll();

    testsupport::MeterSim partial;
    QVERIFY(connectTo(partial, {"--kind", "9"}));
    RealTimeOpmValueFrame frame(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::realTimeValue(), &frame), OtherStatus);
}

void TestMeterSim::scenarioFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meter.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"kind": 2, "range": 3, "model": "PON-Z", "version": "V7", "recordPages": false,
        "pon": [{"name": "A1", "date": [2024, 3, 5, 14, 7, 9],
                 "readings": [{"type": 2, "wavelength": 1550, "power": -85, "unit": 0, "verdict": 2}]}],
        "single": [{"nameHex": "413100", "readings": [{"wavelength": 1310, "power": -12.5, "unit": 32,
                   "reference": -3.25, "frequency": 270}]}],
        "realtime": [{"power": -7.5}, {"power": -8.5}]})");
    file.close();

    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--scenario", path}));
    const DevDatas *datas = DevDatas::instance();
    QCOMPARE(datas->devKind, 2);
    QCOMPARE(datas->rangeCode, 3);
    QVERIFY(!datas->hasRecordPages);
    QCOMPARE(datas->devType, QStringLiteral("PON-Z"));
    QCOMPARE(datas->version, QStringLiteral("V7"));
    QCOMPARE(count(Command::ponCount()), 1);
    QCOMPARE(count(Command::opmCount()), 1);

    PonFrame pon(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::ponRecord(1), &pon), DataOk);
    QCOMPARE(pon.itemData.name, QStringLiteral("A1"));
    QCOMPARE(pon.itemData.time, QStringLiteral("24/03/05 14:07"));
    QCOMPARE(pon.itemData.powerInfos.size(), 1);
    QCOMPARE(pon.itemData.powerInfos.first().power, QStringLiteral("Low"));
    QCOMPARE(pon.itemData.powerInfos.first().passStatus, 2);

    OpmValueFrame single(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(1), &single), DataOk);
    QCOMPARE(single.itemData.name, QStringLiteral("A1"));
    QCOMPARE(single.itemData.singleWaveOpmDatas.first().reference, QStringLiteral("-3.25"));
    QCOMPARE(single.itemData.singleWaveOpmDatas.first().frequency, QStringLiteral("270"));

    const float expected[] = {-7.5f, -8.5f, -7.5f};
    for (float power : expected) {
        RealTimeOpmValueFrame frame(DevDatas::instance());
        QCOMPARE(Uart::exchange(Command::realTimeValue(), &frame), DataOk);
        QCOMPARE(frame.powerValue, power);
    }
}

void TestMeterSim::noiseFromTheHost()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "5", "--records", "3"}));
    // A request with a bad checksum and stray bytes are skipped; the request
    // that follows them in the same write is answered.
    Uart::currentPort->write(QByteArray::fromHex("0102060000FFFF3F00"));
    ValueCountFrame frame;
    QCOMPARE(Uart::exchange(Command::opmCount(), &frame), DataOk);
    QCOMPARE(frame.count, 3);
    QCOMPARE(sim.logLines().size(), 5);
}

void TestMeterSim::stopRemovesTheLink()
{
    testsupport::MeterSim sim;
    QVERIFY(sim.start());
    QVERIFY(QFileInfo::exists(sim.linkPath()));
    // The simulator names its link just after making it: wait for the line.
    QByteArray said;
    QTRY_COMPARE_WITH_TIMEOUT((said += sim.output()).trimmed(), sim.linkPath().toLocal8Bit(), 10000);
    sim.stop();
    QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
}

LUMISK_TEST(TestMeterSim)
#include "tst_metersim.moc"
