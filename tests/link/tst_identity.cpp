// Decoding of the meter's identity answers into the identity record.

#include "link/devdatas.h"
#include "link/devmodelframe.h"
#include "link/devtypeframe.h"
#include "link/devversionframe.h"
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
    void singletonIsShared();
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

void TestIdentity::singletonIsShared()
{
    QVERIFY(DevDatas::instance() != nullptr);
    QCOMPARE(DevDatas::instance(), DevDatas::instance());
}

LUMISK_TEST(TestIdentity)
#include "tst_identity.moc"
