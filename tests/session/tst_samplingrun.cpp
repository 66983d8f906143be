// A sampling run driven tick by tick: when readings fall due, what remains,
// and where a new start begins.

#include "session/samplingrun.h"
#include "testregistry.h"

#include <QSignalSpy>
#include <QTest>

using Ms = SamplingRun::Ms;

class TestSamplingRun : public QObject
{
    Q_OBJECT
private slots:
    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<qint64>("duration");
        QTest::newRow("half second") << "0.5s" << qint64(500) << qint64(0);
        QTest::newRow("custom seconds") << "90s" << qint64(90000) << qint64(0);
        QTest::newRow("minutes") << "10m" << qint64(0) << qint64(600000);
        QTest::newRow("day") << "1440m" << qint64(0) << qint64(86400000);
        QTest::newRow("no unit") << "10" << qint64(0) << qint64(0);
        QTest::newRow("words") << "Customize" << qint64(0) << qint64(0);
        QTest::newRow("negative") << "-5s" << qint64(0) << qint64(0);
    }
    void entries()
    {
        QFETCH(QString, entry);
        QFETCH(qint64, interval);
        QFETCH(qint64, duration);
        QCOMPARE(SamplingRun::intervalOf(entry).count(), interval);
        QCOMPARE(SamplingRun::durationOf(entry).count(), duration);
    }

    // Readings fall due at every interval; the run ends one tick after its
    // duration (and that tick still asks when it falls on the interval).
    void readingsOverARun_data()
    {
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<int>("durationMs");
        QTest::addColumn<int>("due");
        QTest::addColumn<bool>("adjusted");
        QTest::newRow("1 s over 1 min") << 1000 << 60000 << 60 << false;
        QTest::newRow("0.5 s over 1 min") << 500 << 60000 << 121 << false;
        QTest::newRow("7 s over 1 min") << 7000 << 60000 << 8 << false;
        QTest::newRow("interval above duration") << 120000 << 60000 << 121 << true;
    }
    void readingsOverARun()
    {
        QFETCH(int, intervalMs);
        QFETCH(int, durationMs);
        SamplingRun run;
        QSignalSpy due(&run, &SamplingRun::sampleDue);
        QSignalSpy ended(&run, &SamplingRun::finished);
        QVERIFY(run.start(Ms(intervalMs), Ms(durationMs)));
        int ticks = 0;
        while (run.isRunning() && ticks < 100000) {
            run.tick();
            ++ticks;
        }
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ticks, durationMs / 500 + 1);
        QTEST(int(due.count()), "due");
        QTEST(run.intervalAdjusted(), "adjusted");
        QCOMPARE(run.state(), SamplingRun::State::Finished);
        QCOMPARE(run.remaining(), Ms(0));
    }

    // After a run has finished, a start with another duration begins at zero:
    // a shorter one must not underflow its remaining time, a longer one must
    // not start part-way.
    void newRunAfterFinishedBeginsAtZero_data()
    {
        QTest::addColumn<int>("nextDurationMs");
        QTest::newRow("shorter") << 30000;
        QTest::newRow("longer") << 120000;
        QTest::newRow("same") << 60000;
    }
    void newRunAfterFinishedBeginsAtZero()
    {
        QFETCH(int, nextDurationMs);
        SamplingRun run;
        run.start(Ms(1000), Ms(60000));
        while (run.isRunning())
            run.tick();
        QVERIFY(run.start(Ms(1000), Ms(nextDurationMs)));
        QCOMPARE(run.elapsed(), Ms(0));
        QCOMPARE(run.remaining(), Ms(nextDurationMs));
        QSignalSpy remaining(&run, &SamplingRun::remainingChanged);
        run.tick();
        run.tick();
        QCOMPARE(remaining.count(), 1);
        QCOMPARE(remaining.first().first().toInt(), nextDurationMs / 1000 - 1);
    }

    void pauseResumesWhereItStood()
    {
        SamplingRun run;
        run.start(Ms(1000), Ms(60000));
        for (int i = 0; i < 10; ++i)
            run.tick();
        run.pause();
        run.tick(); // a stray tick of a paused run counts nothing
        QVERIFY(!run.start(Ms(500), Ms(10000)));
        QCOMPARE(run.elapsed(), Ms(5000));
        QCOMPARE(run.interval(), Ms(1000));
        QCOMPARE(run.duration(), Ms(60000));

        run.finish();
        QCOMPARE(run.state(), SamplingRun::State::Finished);
        QVERIFY(run.start(Ms(1000), Ms(60000)));
        QCOMPARE(run.elapsed(), Ms(0));
    }
};

LUMISK_TEST(TestSamplingRun)
#include "tst_samplingrun.moc"
