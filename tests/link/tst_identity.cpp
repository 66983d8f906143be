// Decoding of the meter's identity answers into the identity record.

#include "link/devdatas.h"
#include "link/devmodelframe.h"
#include "link/devtypeframe.h"
#include "link/devversionframe.h"
#include "link/opmvalueframe.h"
#include "testregistry.h"

#include <QtTest>

namespace {
// A data answer (code 1) carrying the payload, with its checksum.
QByteArray dataAnswer(const QByteArray &payload)
{
    QByteArray answer;
    answer.append(char(0x3F)).append(char(payload.size())).append(char(0x01)).append(char(0x00));
    answer.append(payload);
    answer.append(char(byteSum(answer)));
    return answer;
}
} // namespace

class TestIdentity : public QObject
{
    Q_OBJECT
private slots:
    void deviceType_data();
    void deviceType();
    void statusAnswerLeavesIdentity();
    void texts_data();
    void texts();
    void recordsFollowTheIdentityNowConnected();
};

void TestIdentity::deviceType_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("devKind");
    QTest::addColumn<int>("rangeCode");
    QTest::addColumn<bool>("hasRecordPages");

    QTest::newRow("kind 5") << QByteArray("05010100") << 5 << 1 << true;
    QTest::newRow("no record pages") << QByteArray("050101ff") << 5 << 1 << false;
    QTest::newRow("byte 2 ignored") << QByteArray("09007700") << 9 << 0 << true;
    QTest::newRow("signed bytes") << QByteArray("fe800000") << -2 << -128 << true;
    QTest::newRow("longer payload") << QByteArray("0302000000ff") << 3 << 2 << true;
    QTest::newRow("three bytes") << QByteArray("0401ff") << 4 << 1 << true;
    QTest::newRow("one byte") << QByteArray("06") << 6 << 0 << true;
    QTest::newRow("empty") << QByteArray() << 0 << 0 << true;
}

void TestIdentity::deviceType()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, devKind);
    QFETCH(int, rangeCode);
    QFETCH(bool, hasRecordPages);

    // Start from values the answer must overwrite.
    DevDatas datas;
    datas.devKind = 99;
    datas.rangeCode = 99;
    datas.hasRecordPages = !hasRecordPages;
    DevTypeFrame frame(&datas);
    QCOMPARE(frame.feed(dataAnswer(QByteArray::fromHex(payload))), DataOk);
    QCOMPARE(datas.devKind, devKind);
    QCOMPARE(datas.rangeCode, rangeCode);
    QCOMPARE(datas.hasRecordPages, hasRecordPages);
}

void TestIdentity::statusAnswerLeavesIdentity()
{
    DevDatas datas;
    datas.devKind = 5;
    datas.devType = QStringLiteral("OPM");
    DevTypeFrame typeFrame(&datas);
    DevModelFrame modelFrame(&datas);
    QCOMPARE(typeFrame.feed(QByteArray::fromHex("3f0100000343")), Busy);
    QCOMPARE(modelFrame.feed(QByteArray::fromHex("3f0100000141")), CommandDone);
    QCOMPARE(datas.devKind, 5);
    QCOMPARE(datas.devType, QStringLiteral("OPM"));
}

void TestIdentity::texts_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero-padded") << QByteArray("OPM-520\0\0\0", 10) << QStringLiteral("OPM-520");
    QTest::newRow("no zero byte") << QByteArray("V1.2.3") << QStringLiteral("V1.2.3");
    QTest::newRow("stops at first zero") << QByteArray("AB\0CD", 5) << QStringLiteral("AB");
    QTest::newRow("zero first") << QByteArray("\0XYZ", 4) << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf-8") << QByteArray("光功率计\0", 13) << QStringLiteral("光功率计");
}

void TestIdentity::texts()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, text);

    DevDatas datas;
    datas.devType = datas.version = QStringLiteral("old");
    DevModelFrame modelFrame(&datas);
    QCOMPARE(modelFrame.feed(dataAnswer(payload)), DataOk);
    QCOMPARE(datas.devType, text);
    QCOMPARE(datas.version, QStringLiteral("old"));

    DevVersionFrame versionFrame(&datas);
    QCOMPARE(versionFrame.feed(dataAnswer(payload)), DataOk);
    QCOMPARE(datas.version, text);
}

// The identity the identity frames fill in is the one the record frames
// handed it read, also for a frame made before the meter was identified:
// -55 dBm keeps one decimal below a range-2 meter's -50 dBm threshold, two on
// a range-1 meter.
void TestIdentity::recordsFollowTheIdentityNowConnected()
{
    DevDatas meter;
    // No name, 2024-03-05 14:07:09, record 1; 1310 nm, -55 dBm, 1 mW.
    const QByteArray record = QByteArray::fromHex("00" "07e8" "03" "05" "0e" "07" "09" "0001"
                                                  "051e" "c25c0000" "00" "3f800000" "11" "00000000" "0000");
    OpmValueFrame frame(&meter);
    QStringList powers;
    for (const char *typePayload : {"05020100", "05010100"}) {
        DevTypeFrame typeFrame(&meter);
        QCOMPARE(typeFrame.feed(dataAnswer(QByteArray::fromHex(typePayload))), DataOk);
        frame.reset();
        QCOMPARE(frame.feed(dataAnswer(record)), DataOk);
        QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 1);
        powers << frame.itemData.singleWaveOpmDatas.first().power;
    }
    QCOMPARE(powers, (QStringList{"-55.0", "-55.00"}));
}

LUMISK_TEST(TestIdentity)
#include "tst_identity.moc"
