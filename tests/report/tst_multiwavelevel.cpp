// The multi-wave Low/High rule shared by the cards and the report, at its
// boundaries.

#include "report/multiwavelevel.h"
#include "testregistry.h"

#include <QTest>

class TestMultiWaveLevel : public QObject
{
    Q_OBJECT
private slots:
    void boundaries_data();
    void boundaries();
};

void TestMultiWaveLevel::boundaries_data()
{
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("shown");

    const int in = int(MultiWaveLevel::InRange);
    const int low = int(MultiWaveLevel::Low);
    const int high = int(MultiWaveLevel::High);
    // Single-precision values summed in double precision: -79.89 + -0.01
    // stays just above the floor, 20.00 + 29.90 just below the ceiling.
    QTest::newRow("-79.89 ref -0.01 in range") << "-79.89" << "-0.01" << in << "-79.89dB";
    QTest::newRow("-79.89 absolute") << "-79.89" << "---" << in << "-79.89dBm";
    QTest::newRow("-79.90 is Low") << "-79.90" << "---" << low << "Low";
    QTest::newRow("-40.00 ref -39.90 is Low") << "-40.00" << "-39.90" << low << "Low";
    QTest::newRow("20.00 ref 29.90 in range") << "20.00" << "29.90" << in << "20.00dB";
    QTest::newRow("49.89 in range") << "49.89" << "---" << in << "49.89dBm";
    QTest::newRow("49.9 is High") << "49.9" << "---" << high << "High";
    QTest::newRow("meter's Low stands") << "Low" << "---" << in << "Low";
    QTest::newRow("meter's High stands") << "High" << "-5.00" << in << "High";
    QTest::newRow("meter's Low, reference low") << "Low" << "-80.00" << low << "Low";
    QTest::newRow("lowercase is no keyword") << "low" << "---" << in << "lowdBm";
    QTest::newRow("not a number counts as 0") << "abc" << "-3.00" << in << "abcdB";
}

void TestMultiWaveLevel::boundaries()
{
    QFETCH(QString, power);
    QFETCH(QString, reference);
    QFETCH(int, level);
    QFETCH(QString, shown);
    SingleWaveOpmData reading;
    reading.power = power;
    reading.reference = reference;
    QCOMPARE(int(multiWaveLevel(reading)), level);
    QCOMPARE(multiWavePowerText(reading), shown);
}

LUMISK_TEST(TestMultiWaveLevel)
#include "tst_multiwavelevel.moc"
