// The meter session with the worker played by the test: which answer goes
// where, answers into frames given up, and the frames still out when their
// holders let go.

#include "session/clocksetting.h"
#include "session/metersession.h"
#include "domain/baseformlogic.h"
#include "link/commands.h"
#include "link/requestledger.h"
#include "link/uartworker.h"
#include "countingpage.h"
#include "testregistry.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr char CountOf42[] = "3f020100002a6c";

} // namespace

class TestMeterSession : public QObject
{
    Q_OBJECT
    CountingPage page;
    PageEntry entry{PageType::Opm, nullptr, nullptr, &page, &Command::opmCount, &Command::singleWaveRecord, 0, {}};
    Frame *liveFrame = nullptr;
    bool alive = true;
    bool liveWanted = true;
    QList<QByteArray> wire;
    QList<Frame *> out;
    QStringList heard;
    MeterSession *session = nullptr;

    // The worker's result of the oldest request: the ledger names its frame,
    // then the session routes it, as the window and lumisk-cli have it.
    void answer(ParseResult result, const char *bytes = nullptr)
    {
        QVERIFY(!out.isEmpty());
        Frame *frame = out.takeFirst();
        if (bytes)
            frame->feed(QByteArray::fromHex(bytes));
        emit UartWorker::instance()->responsed(result);
        session->route(result);
    }
    void startDownload()
    {
        session->download()->start(entry);
        answer(DataOk, CountOf42);
    }

private slots:
    void init()
    {
        alive = liveWanted = true;
        wire.clear();
        out.clear();
        heard.clear();
        liveFrame = new Frame;
        session = new MeterSession({RequestLedger::instance(), [this]() { return alive; }, {}});
        session->setLiveFrame({[this]() { return liveFrame; }, [this]() { liveFrame = new Frame; },
                               [this]() { return liveWanted; }});
        connect(session, &MeterSession::request, this, [this](const QByteArray &data, Frame *frame) {
            wire << data;
            out << frame;
        });
        const auto note = [this](const char *name) { return [this, name]() { heard << name; }; };
        connect(session, &MeterSession::meterGone, this, note("gone"));
        connect(session, &MeterSession::reinitNeeded, this, note("reinit"));
        connect(session, &MeterSession::liveReading, this, note("reading"));
        connect(session, &MeterSession::clockSet, this, note("clock set"));
        connect(session, &MeterSession::clockHasNoRtc, this, note("no rtc"));
        connect(session, &MeterSession::clockRefused, this, note("clock refused"));
        connect(session, &MeterSession::downloadStuck, this,
                [this](ParseResult last) { heard << QStringLiteral("stuck %1").arg(int(last)); });
    }
    void cleanup()
    {
        session->download()->finish();
        while (!out.isEmpty())
            answer(OtherStatus);
        delete session;
        page.clearDatas();
        RequestLedger::instance()->retire(liveFrame);
    }

    // Each answer goes to what asked for it; what the session says, and how
    // many requests follow it.
    void routing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("portAlive");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("sentAfter");
        const QStringList none;
        QTest::newRow("record") << "download" << int(DataOk) << true << none << 1;
        QTest::newRow("record after the port went") << "download" << int(DataOk) << false << QStringList{"gone"} << 0;
        QTest::newRow("download needs reinit") << "download" << int(NeedReinit) << true << QStringList{"reinit"} << 0;
        QTest::newRow("download busy") << "download" << int(Busy) << true << none << 1;
        QTest::newRow("download silent") << "download" << int(Incomplete) << true << QStringList{"stuck 0"} << 0;
        QTest::newRow("reading") << "live" << int(DataOk) << true << QStringList{"reading"} << 0;
        QTest::newRow("reading after the port went") << "live" << int(DataOk) << false << QStringList{"gone"} << 0;
        QTest::newRow("live needs reinit") << "live" << int(NeedReinit) << true << QStringList{"reinit"} << 0;
        QTest::newRow("reading of no run") << "unwanted live" << int(DataOk) << true << none << 0;
        QTest::newRow("clock set") << "clock" << int(CommandDone) << true << QStringList{"clock set"} << 0;
        QTest::newRow("clock without rtc") << "clock" << int(NoRtc) << true << QStringList{"no rtc"} << 0;
        QTest::newRow("clock refused") << "clock" << int(OtherStatus) << true << QStringList{"clock refused"} << 0;
        QTest::newRow("replaced page frame") << "retired" << int(DataOk) << true << none << 0;
        QTest::newRow("replaced live frame") << "retired live" << int(DataOk) << true << none << 0;
    }
    void routing()
    {
        QFETCH(QString, target);
        QFETCH(int, result);
        QFETCH(bool, portAlive);
        QFETCH(QStringList, expected);
        QFETCH(int, sentAfter);
        if (target == QLatin1String("download") || target == QLatin1String("retired")) {
            startDownload();
            if (target == QLatin1String("retired"))
                session->replaceFrame(&page);
        } else if (target == QLatin1String("clock")) {
            session->clock()->sendIdentity();
            session->clock()->sendTime();
            // The identity commands' answers go nowhere.
            for (int i = 0; i < 3; ++i)
                answer(DataOk);
            QVERIFY(heard.isEmpty());
        } else {
            liveWanted = target != QLatin1String("unwanted live");
            session->askForReading();
            // A reading still on its way: the next turn sends nothing.
            session->askForReading();
            QCOMPARE(out.size(), 1);
            if (target == QLatin1String("retired live"))
                session->replaceLiveFrame();
        }
        const int sentBefore = wire.size();
        alive = portAlive;
        Frame *answered = out.first();
        answer(ParseResult(result));
        QCOMPARE(heard, expected);
        QCOMPARE(wire.size() - sentBefore, sentAfter);
        if (target == QLatin1String("download") && result == DataOk)
            QCOMPARE(page.stored, 1); // kept even when the port went
        if (target == QLatin1String("clock"))
            QCOMPARE(session->clock()->owns(answered), result == OtherStatus);
    }

    // A download gives up where the meter does: garbled answers past the
    // limit, busy answers past the retries; a reopen of the link is waited for.
    void stuck_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        QTest::newRow("garbled past the limit") << "CCC" << "stuck 1";
        QTest::newRow("garbled within the limit") << "CCDCC" << "";
        QTest::newRow("busy past the retries") << "BBBBBB" << "stuck 5";
        QTest::newRow("reopen awaited") << "R" << "reinit";
    }
    void stuck()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        session->setGarbledLimit(2);
        startDownload();
        for (const QChar step : script) {
            const ParseResult result = step == 'C' ? CheckFailed : step == 'B' ? Busy : step == 'R' ? NeedReinit : DataOk;
            answer(result);
        }
        QCOMPARE(heard.join(QLatin1Char(',')), expected);
        QCOMPARE(out.isEmpty(), !expected.isEmpty());
        if (script == QLatin1String("R")) {
            QVERIFY(session->reopenPending());
            session->reopened();
            QVERIFY(!session->reopenPending());
            QTRY_COMPARE(out.size(), 1);
            QCOMPARE(wire.last(), Command::singleWaveRecord(1));
        }
    }

    // The holders let go while requests are out: the frames stay alive until
    // their answers are in, which then go nowhere; the holders have fresh ones.
    void handOverKeepsFramesOut()
    {
        startDownload();
        session->askForReading();
        QPointer<Frame> pageFrame = page.frame();
        QPointer<Frame> live = liveFrame;
        session->handOver({entry});
        QVERIFY(page.frame() != pageFrame && liveFrame != live);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(pageFrame && live);
        answer(DataOk);
        answer(DataOk);
        QVERIFY(heard.isEmpty());
        QCOMPARE(page.stored, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!pageFrame && !live);
    }
};

LUMISK_TEST(TestMeterSession)
#include "tst_metersession.moc"
