// The link worker in its thread against simulated meters: connecting,
// choosing among several meters, losing the meter, closing on demand, and a
// whole download one request at a time.

#include "link/commands.h"
#include "link/devdatas.h"
#include "link/frame.h"
#include "link/opmvalueframe.h"
#include "link/serialportlist.h"
#include "link/uart.h"
#include "link/uartworker.h"
#include "link/valuecountframe.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>

namespace {

constexpr int LinkTimeoutMs = 5000;


// QSignalSpy::wait() misses a signal from another thread that comes before
// it starts waiting; poll the spy instead.
bool arrived(QSignalSpy &spy)
{
    return QTest::qWaitFor([&spy]() { return !spy.isEmpty(); }, LinkTimeoutMs);
}

// Whether the worker still holds a port, asked on its own thread.
bool workerHoldsPort()
{
    bool holds = true;
    QMetaObject::invokeMethod(UartWorker::instance(), []() { return Uart::currentPort != nullptr; },
                              Qt::BlockingQueuedConnection, &holds);
    return holds;
}

// The rate of the worker's port (0 without one), asked on its own thread.
int workerPortRate()
{
    int rate = 0;
    QMetaObject::invokeMethod(UartWorker::instance(),
                              []() { return Uart::currentPort ? int(Uart::currentPort->baudRate()) : 0; },
                              Qt::BlockingQueuedConnection, &rate);
    return rate;
}

} // namespace

class TestWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void requestWithoutPort();
    void connectWithoutMeter();
    void meterGoesAway_data();
    void meterGoesAway();
    void closeWhileUp();
    void closeAsTheMeterVanishes();
    void chooseAmongSeveral();
    void reconnectAfterReinit();
    void downloadAllRecords();

private:
    // Connects the worker to one simulator; returns false if it did not.
    bool linkUp(testsupport::MeterSim &sim, const QStringList &args);

    UartWorker *worker = nullptr;
};

void TestWorker::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false"));
    worker = UartWorker::instance();
    QCOMPARE(UartWorker::instance(), worker);
    QVERIFY(worker->thread() != QThread::currentThread());
}

void TestWorker::cleanupTestCase()
{
    QLoggingCategory::setFilterRules(QString());
}

void TestWorker::cleanup()
{
    if (worker->isConnected()) {
        worker->closeUart();
        QTRY_VERIFY(!workerHoldsPort());
    }
    testsupport::setSerialPorts({});
}

bool TestWorker::linkUp(testsupport::MeterSim &sim, const QStringList &args)
{
    if (!sim.start(args))
        return false;
    testsupport::setSerialPorts({sim.linkPath()});
    QSignalSpy inited(worker, &UartWorker::uartInited);
    QMetaObject::invokeMethod(worker, &UartWorker::initUart, Qt::QueuedConnection);
    if (!arrived(inited) || inited.first().first().value<Uart::PortInitState>() != Uart::InitOk)
        return false;
    // The link-up steps follow the signal on the worker's thread.
    return QTest::qWaitFor([this]() { return worker->isConnected(); }, LinkTimeoutMs);
}

void TestWorker::requestWithoutPort()
{
    QSignalSpy responsed(worker, &UartWorker::responsed);
    QSignalSpy closed(worker, &UartWorker::uartClosed);
    Frame frame;
    QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection, Q_ARG(QByteArray, Command::opmCount()),
                              Q_ARG(Frame *, &frame));
    QVERIFY(arrived(responsed));
    QCOMPARE(responsed.count(), 1);
    QCOMPARE(responsed.first().first().value<ParseResult>(), Incomplete);
    QVERIFY(frame.buffer.isEmpty());
    QVERIFY(!worker->isConnected());
    QCOMPARE(closed.count(), 0);
}

void TestWorker::connectWithoutMeter()
{
    testsupport::setSerialPorts({QStringLiteral("/nonexistent/ttyNone")});
    QSignalSpy inited(worker, &UartWorker::uartInited);
    QSignalSpy closed(worker, &UartWorker::uartClosed);
    QMetaObject::invokeMethod(worker, &UartWorker::initUart, Qt::QueuedConnection);
    QVERIFY(arrived(inited));
    QCOMPARE(inited.first().first().value<Uart::PortInitState>(), Uart::InitFailed);
    QVERIFY(!worker->isConnected());
    QVERIFY(!worker->isPortAlive());
    QTest::qWait(300); // no port check runs: nothing is reported closed
    QCOMPARE(closed.count(), 0);
}

void TestWorker::meterGoesAway_data()
{
    QTest::addColumn<bool>("duringRequest");
    QTest::newRow("unplugged while idle") << false;
    QTest::newRow("unplugged on a request") << true;
}

void TestWorker::meterGoesAway()
{
    QFETCH(bool, duringRequest);
    testsupport::MeterSim sim;
    QVERIFY(linkUp(sim, {"--kind", "5", "--unplug-after", "0@2"}));
    QTRY_VERIFY(worker->isPortAlive());
    QSignalSpy closed(worker, &UartWorker::uartClosed);
    QSignalSpy responsed(worker, &UartWorker::responsed);
    OpmValueFrame frame(DevDatas::instance());
    if (duringRequest) {
        QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection,
                                  Q_ARG(QByteArray, Command::singleWaveRecord(2)), Q_ARG(Frame *, &frame));
        QVERIFY(arrived(responsed));
        QCOMPARE(responsed.first().first().value<ParseResult>(), Incomplete);
    } else {
        sim.stop();
    }
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, LinkTimeoutMs);
    QVERIFY(!worker->isConnected());
    QVERIFY(!worker->isPortAlive());
    QTRY_VERIFY(!workerHoldsPort());
    // The port's error reports and later timer ticks take nothing down again.
    QTest::qWait(400);
    QCOMPARE(closed.count(), 1);
}

void TestWorker::closeWhileUp()
{
    testsupport::MeterSim sim;
    QVERIFY(linkUp(sim, {}));
    QTRY_VERIFY(worker->isPortAlive());
    QVERIFY(SerialPortList::isHeldOpen(sim.linkPath()));
    QSignalSpy closed(worker, &UartWorker::uartClosed);
    worker->closeUart(); // directly, from the GUI thread
    QCOMPARE(closed.count(), 1);
    QVERIFY(!worker->isConnected());
    QVERIFY(!worker->isPortAlive());
    QTRY_VERIFY(!SerialPortList::isHeldOpen(sim.linkPath()));
    QVERIFY(!workerHoldsPort());
    QTest::qWait(300);
    QCOMPARE(closed.count(), 1);
}

// Disconnect pressed just as the meter goes away: the worker's own thread
// sees the port vanish while the GUI thread closes. The timer and every
// connection stay on the worker's thread, and the close is reported once.
void TestWorker::closeAsTheMeterVanishes()
{
    for (int round = 0; round < 5; ++round) {
        testsupport::MeterSim sim;
        QVERIFY(linkUp(sim, {}));
        QTRY_VERIFY(worker->isPortAlive());
        QThread *timerThread = nullptr;
        QMetaObject::invokeMethod(
            worker, [this]() { return worker->supervisionTimer() ? worker->supervisionTimer()->thread() : nullptr; },
            Qt::BlockingQueuedConnection, &timerThread);
        QCOMPARE(timerThread, worker->thread());

        QSignalSpy closed(worker, &UartWorker::uartClosed);
        sim.killNow();
        QTest::qWait(round * 40); // from before the worker notices to after
        worker->closeUart();
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, LinkTimeoutMs);
        QVERIFY(!worker->isConnected());
        QTRY_VERIFY(!workerHoldsPort());
        QTest::qWait(300);
        QCOMPARE(closed.count(), 1);
    }
}

void TestWorker::chooseAmongSeveral()
{
    testsupport::MeterSim first;
    testsupport::MeterSim second;
    QVERIFY(first.start({"--kind", "1"}));
    QVERIFY(second.start({"--kind", "9"}));
    testsupport::setSerialPorts({first.linkPath(), second.linkPath()});
    QSignalSpy inited(worker, &UartWorker::uartInited);
    QMetaObject::invokeMethod(worker, &UartWorker::initUart, Qt::QueuedConnection);
    QVERIFY(arrived(inited));
    QCOMPARE(inited.takeFirst().first().value<Uart::PortInitState>(), Uart::SeveralDevices);
    QVERIFY(!worker->isConnected());
    QCOMPARE(Uart::candidatePortNames, (QStringList{first.linkPath(), second.linkPath()}));

    worker->choosePort({second.linkPath(), 115200});
    QMetaObject::invokeMethod(worker, &UartWorker::initUartOutPoint, Qt::QueuedConnection);
    QVERIFY(arrived(inited));
    QCOMPARE(inited.takeFirst().first().value<Uart::PortInitState>(), Uart::InitOk);
    QTRY_VERIFY(worker->isConnected());
    QCOMPARE(DevDatas::instance()->devKind, 9);
    QCOMPARE(workerPortRate(), 115200);
    QTRY_VERIFY(worker->isPortAlive());
    QVERIFY(SerialPortList::isHeldOpen(second.linkPath()));
    QVERIFY(!SerialPortList::isHeldOpen(first.linkPath()));

    // Reopened (after a need-reinit answer) at the rate chosen.
    QSignalSpy reconnected(worker, SIGNAL(ReconnectResult(Uart::PortInitState)));
    QMetaObject::invokeMethod(worker, &UartWorker::reinitUart, Qt::QueuedConnection);
    QVERIFY(arrived(reconnected));
    QCOMPARE(reconnected.first().first().value<Uart::PortInitState>(), Uart::InitOk);
    QCOMPARE(workerPortRate(), 115200);
}

void TestWorker::reconnectAfterReinit()
{
    // A port chosen before is forgotten by the fresh scan: the port found at
    // 9600 baud is reopened at 9600.
    worker->choosePort({QStringLiteral("/dev/ttyUSB9"), 115200});
    testsupport::MeterSim sim;
    QVERIFY(linkUp(sim, {"--kind", "6", "--need-reinit", "@1"}));
    QSignalSpy responsed(worker, &UartWorker::responsed);
    QSignalSpy reconnected(worker, SIGNAL(ReconnectResult(Uart::PortInitState)));
    OpmValueFrame frame(DevDatas::instance());
    QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection, Q_ARG(QByteArray, Command::singleWaveRecord(1)),
                              Q_ARG(Frame *, &frame));
    QVERIFY(arrived(responsed));
    QCOMPARE(responsed.takeFirst().first().value<ParseResult>(), NeedReinit);

    QMetaObject::invokeMethod(worker, &UartWorker::reinitUart, Qt::QueuedConnection);
    QVERIFY(arrived(reconnected));
    QCOMPARE(reconnected.first().first().value<Uart::PortInitState>(), Uart::InitOk);
    QVERIFY(worker->isConnected());
    QCOMPARE(workerPortRate(), 9600);
    QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection, Q_ARG(QByteArray, Command::singleWaveRecord(1)),
                              Q_ARG(Frame *, &frame));
    QVERIFY(arrived(responsed));
    QCOMPARE(responsed.takeFirst().first().value<ParseResult>(), DataOk);
}

void TestWorker::downloadAllRecords()
{
    testsupport::MeterSim sim;
    QVERIFY(linkUp(sim, {"--kind", "5", "--records", "250"}));
    QCOMPARE(DevDatas::instance()->devKind, 5);
    QCOMPARE(DevDatas::instance()->devType, QStringLiteral("LM-OPM500"));
    QVERIFY(DevDatas::instance()->hasRecordPages);

    QSignalSpy responsed(worker, &UartWorker::responsed);
    ValueCountFrame countFrame;
    QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection, Q_ARG(QByteArray, Command::opmCount()),
                              Q_ARG(Frame *, &countFrame));
    QVERIFY(arrived(responsed));
    QCOMPARE(responsed.takeFirst().first().value<ParseResult>(), DataOk);
    QCOMPARE(countFrame.count, 250);

    // One request at a time, as the main window does, each with a new frame.
    for (int number = 1; number <= countFrame.count + 1; ++number) {
        OpmValueFrame frame(DevDatas::instance());
        QMetaObject::invokeMethod(worker, "request", Qt::QueuedConnection,
                                  Q_ARG(QByteArray, Command::singleWaveRecord(number)), Q_ARG(Frame *, &frame));
        QVERIFY(arrived(responsed));
        const auto result = responsed.takeFirst().first().value<ParseResult>();
        if (number > countFrame.count) {
            QCOMPARE(result, Aborted);
            break;
        }
        QCOMPARE(result, DataOk);
        QCOMPARE(frame.itemData.number, QString::number(number));
    }
    QCOMPARE(sim.logLines().size(), 4 + 1 + 251);
}

LUMISK_TEST(TestWorker)
#include "tst_worker.moc"
