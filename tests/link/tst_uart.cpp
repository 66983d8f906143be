// The serial transport against simulated meters on pseudo-terminals: scanning,
// opening a chosen port, and single exchanges with the meter's answers split,
// late, missing or faulty.

#include "link/commands.h"
#include "link/devdatas.h"
#include "link/frame.h"
#include "link/opmvalueframe.h"
#include "link/serialportlist.h"
#include "link/uart.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QMutex>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

namespace {

// Collects the transport's diagnostic lines so that reads and re-sends can be
// counted, and keeps them off the test output.
class LogCapture
{
public:
    LogCapture() { previous = qInstallMessageHandler(&LogCapture::handler); }
    ~LogCapture() { qInstallMessageHandler(previous); }
    static int count(const QString &start)
    {
        QMutexLocker lock(&mutex);
        int n = 0;
        for (const QString &line : lines)
            n += line.startsWith(start) ? 1 : 0;
        return n;
    }
    static QStringList all()
    {
        QMutexLocker lock(&mutex);
        return lines;
    }
    static void clear()
    {
        QMutexLocker lock(&mutex);
        lines.clear();
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg) {
            fprintf(stderr, "%s\n", qPrintable(message));
            return;
        }
        QMutexLocker lock(&mutex);
        lines.append(message);
    }
    static inline QMutex mutex;
    static inline QStringList lines;
    QtMessageHandler previous = nullptr;
};

// The commands in the simulator's request log, one per request received.
QStringList loggedCommands(const testsupport::MeterSim &sim)
{
    QStringList commands;
    for (const QString &line : sim.logLines())
        commands.append(line.section(QLatin1Char('\t'), 1, 2));
    return commands;
}

} // namespace

class TestUart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void scanFindsOneMeter();
    void scanWithTwoMetersLeavesTheChoice();
    void scanWithoutMeter();
    void scanOutcomeInListOrder_data();
    void scanOutcomeInListOrder();
    void chosenPortNoLongerListed();
    void reopenAfterBreak();
    void exchangeWithoutPort();
    void wholeAnswerInOneRead();
    void answerSplitOverReads();
    void longAnswerTrickledAtLowRate();
    void silentMeter();
    void wrongStartByteEndsAtOnce();
    void meterAnswers_data();
    void meterAnswers();
    void staleBytesAreNotTakenForTheAnswer();
    void answerCutShort_data();
    void answerCutShort();

private:
    // Starts one simulator, lists it as the only port and opens the link.
    bool connectTo(testsupport::MeterSim &sim, const QStringList &args);

    std::unique_ptr<LogCapture> capture;
};

void TestUart::init()
{
    capture = std::make_unique<LogCapture>();
    LogCapture::clear();
}

void TestUart::cleanup()
{
    Uart::releaseAll();
    Uart::candidatePortNames.clear();
    capture.reset();
}

bool TestUart::connectTo(testsupport::MeterSim &sim, const QStringList &args)
{
    if (!sim.start(args))
        return false;
    testsupport::setSerialPorts({sim.linkPath()});
    return Uart::init(false) == Uart::InitOk;
}

void TestUart::scanFindsOneMeter()
{
    testsupport::MeterSim sim;
    QVERIFY(sim.start({"--kind", "9", "--range", "2", "--model", "OPM-X", "--version", "V9"}));
    testsupport::setSerialPorts({sim.linkPath(), QStringLiteral("/nonexistent/ttyNone")});

    // A scan ignores a port and rate chosen before.
    QCOMPARE(Uart::init(false, {sim.linkPath(), 115200}), Uart::InitOk);
    QVERIFY(Uart::currentPort);
    QVERIFY(Uart::currentPort->isOpen());
    QCOMPARE(Uart::currentPort->baudRate(), 9600);
    QCOMPARE(Uart::candidatePortNames, QStringList{sim.linkPath()});
    QVERIFY(Uart::isPortAlive());
    DevDatas *datas = DevDatas::instance();
    QCOMPARE(datas->devKind, 9);
    QCOMPARE(datas->rangeCode, 2);
    QCOMPARE(datas->devType, QStringLiteral("OPM-X"));
    QCOMPARE(datas->version, QStringLiteral("V9"));
    // The probe, then the full identification.
    QCOMPARE(loggedCommands(sim), (QStringList{"01\t-", "01\t-", "03\t-", "04\t-"}));

    Uart::closePort(true);
    QVERIFY(!Uart::currentPort);
    QVERIFY(Uart::candidatePorts.isEmpty());
    QVERIFY(!SerialPortList::isHeldOpen(sim.linkPath()));
}

void TestUart::scanWithTwoMetersLeavesTheChoice()
{
    testsupport::MeterSim first;
    testsupport::MeterSim second;
    QVERIFY(first.start({"--kind", "5"}));
    QVERIFY(second.start({"--kind", "3", "--model", "SECOND"}));
    testsupport::setSerialPorts({first.linkPath(), second.linkPath()});

    QCOMPARE(Uart::init(false), Uart::SeveralDevices);
    QCOMPARE(Uart::candidatePortNames, (QStringList{first.linkPath(), second.linkPath()}));
    QVERIFY(!Uart::currentPort);
    QCOMPARE(Uart::candidatePorts.size(), 2);
    for (QSerialPort *port : Uart::candidatePorts)
        QVERIFY(!port->isOpen());
    QVERIFY(!SerialPortList::isHeldOpen(first.linkPath()));
    QVERIFY(!SerialPortList::isHeldOpen(second.linkPath()));

    QCOMPARE(Uart::openSelectedPort({second.linkPath(), 115200}), Uart::InitOk);
    QVERIFY(Uart::candidatePorts.isEmpty());
    QCOMPARE(Uart::currentPort->portName(), second.linkPath());
    QCOMPARE(Uart::currentPort->baudRate(), 115200);
    QCOMPARE(DevDatas::instance()->devType, QStringLiteral("SECOND"));
    QVERIFY(SerialPortList::isHeldOpen(second.linkPath()));
    QVERIFY(!SerialPortList::isHeldOpen(first.linkPath()));
}

void TestUart::scanWithoutMeter()
{
    testsupport::MeterSim silent;
    QVERIFY(silent.start({"--silent-after", "0"}));
    testsupport::setSerialPorts({QStringLiteral("/nonexistent/ttyNone"), silent.linkPath()});
    QCOMPARE(Uart::init(false), Uart::InitFailed);
    QVERIFY(!Uart::currentPort);
    QVERIFY(Uart::candidatePorts.isEmpty());
    QVERIFY(!SerialPortList::isHeldOpen(silent.linkPath()));

    testsupport::setSerialPorts({});
    QCOMPARE(Uart::init(false), Uart::InitFailed);
}

// The ports are probed all at once, but the outcome is the one of the list's
// order: the candidates, what is said of each unusable port, and each probe's
// log lines kept together. A meter answering slowly (at 300 baud) finishes
// after the others; silent ports finish last.
void TestUart::scanOutcomeInListOrder_data()
{
    // Ports: S never answers, M a meter, T a meter answering slowly, J only
    // answers with spoiled checksums. Candidates and reports name the ports by index;
    // a report is n (no answer) or j (not a meter).
    QTest::addColumn<QString>("ports");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("candidates");
    QTest::addColumn<QString>("reports");
    QTest::newRow("silent ports around the meter") << "SSMSS" << int(Uart::InitOk) << "2" << "0n 1n 3n 4n";
    QTest::newRow("two meters, the slow one first") << "TSM" << int(Uart::SeveralDevices) << "0 2" << "1n";
    QTest::newRow("no meter") << "SJS" << int(Uart::InitFailed) << "" << "0n 1j 2n";
}

void TestUart::scanOutcomeInListOrder()
{
    QFETCH(QString, ports);
    QFETCH(int, state);
    QFETCH(QString, candidates);
    QFETCH(QString, reports);
    std::vector<std::unique_ptr<testsupport::SilentPort>> silent;
    std::vector<std::unique_ptr<testsupport::MeterSim>> sims;
    QStringList paths;
    for (const QChar kind : ports) {
        if (kind == QLatin1Char('S')) {
            silent.push_back(std::make_unique<testsupport::SilentPort>());
            QVERIFY(!silent.back()->path().isEmpty());
            paths << silent.back()->path();
            continue;
        }
        sims.push_back(std::make_unique<testsupport::MeterSim>());
        const QStringList args = kind == QLatin1Char('T')   ? QStringList{"--trickle", "300"}
                                 : kind == QLatin1Char('J') ? QStringList{"--bad-checksum", "99@id"}
                                                            : QStringList{};
        QVERIFY(sims.back()->start(args));
        paths << sims.back()->linkPath();
    }
    testsupport::setSerialPorts(paths);

    QCOMPARE(int(Uart::init(false)), state);
    QStringList names; // as the port list names them
    for (const QString &path : paths)
        names << (path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path);
    QStringList chosen;
    for (const QString &index : candidates.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        chosen << names.at(index.toInt());
    QCOMPARE(Uart::candidatePortNames, chosen);
    QStringList told;
    for (const PortDiagnosis::PortReport &report : Uart::lastPortReports()) {
        QVERIFY(report.finding == PortDiagnosis::Finding::NotAMeter
                || report.finding == PortDiagnosis::Finding::NoAnswer);
        told << QString::number(names.indexOf(report.port))
                    + (report.finding == PortDiagnosis::Finding::NotAMeter ? "j" : "n");
    }
    QCOMPARE(told.join(QLatin1Char(' ')), reports);

    // Each probe's lines together: every probe's first line is followed by
    // its own request, never by the next probe's first line.
    const QStringList lines = LogCapture::all();
    const QString first = QStringLiteral("enum ParseResult __cdecl Uart::readaDevInfos(void)");
    QCOMPARE(lines.count(first), ports.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i) == first)
            QVERIFY2(i + 1 < lines.size() && lines.at(i + 1).startsWith("write data"), qPrintable(lines.join('\n')));
    }
}

void TestUart::chosenPortNoLongerListed()
{
    testsupport::MeterSim sim;
    QVERIFY(sim.start());
    testsupport::setSerialPorts({sim.linkPath()});
    QCOMPARE(Uart::openSelectedPort({sim.linkPath() + QStringLiteral("-gone"), 9600}), Uart::InitFailed);
    QVERIFY(!Uart::currentPort);

    // Names compare exactly: the same path with another case is not the port.
    QCOMPARE(Uart::openSelectedPort({sim.linkPath().toUpper(), 9600}), Uart::InitFailed);
    QVERIFY(sim.logLines().isEmpty());
}

void TestUart::reopenAfterBreak()
{
    QCOMPARE(Uart::init(true), Uart::InitFailed); // nothing to reopen

    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {}));
    QCOMPARE(Uart::init(true, {QString(), 19200}), Uart::InitOk);
    QCOMPARE(Uart::currentPort->baudRate(), 19200);

    sim.stop();
    QCOMPARE(Uart::init(true, {QString(), 19200}), Uart::InitFailed);
    QVERIFY(!Uart::currentPort);
}

void TestUart::exchangeWithoutPort()
{
    Frame frame;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Uart::exchange(Command::devType(), &frame), Incomplete);
    QVERIFY(clock.elapsed() < 400);
    QCOMPARE(LogCapture::count("write data"), 0);
    QVERIFY(!Uart::isPortAlive());
}

void TestUart::wholeAnswerInOneRead()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "5", "--records", "3"}));
    LogCapture::clear();
    OpmValueFrame frame(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(2), &frame), DataOk);
    QCOMPARE(frame.itemData.number, QStringLiteral("2"));
    QCOMPARE(LogCapture::count("read data"), 1);
    QCOMPARE(LogCapture::count("readwhile"), 0);
    QCOMPARE(LogCapture::count("write data"), 1);
}

void TestUart::answerSplitOverReads()
{
    // At 1200 baud a 26-byte record answer takes over 200 ms, so the first
    // read finds only its beginning.
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "6", "--records", "2", "--trickle", "1200@1"}));
    LogCapture::clear();
    OpmValueFrame frame(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(1), &frame), DataOk);
    QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 1);
    QVERIFY(LogCapture::count("readwhile") >= 1);
    QCOMPARE(LogCapture::count("write data"), 1);
    QCOMPARE(sim.logLines().size(), 5);
}

void TestUart::longAnswerTrickledAtLowRate()
{
    // Record 4 of a multi-wave meter holds five wavelengths: over 100 bytes,
    // arriving a few at a time for more than a tenth of a second.
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "5", "--records", "4", "--trickle", "9600@4"}));
    OpmValueFrame frame(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::multiWaveRecord(4), &frame), DataOk);
    QVERIFY(frame.payload.size() > 100);
    QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 5);
    QCOMPARE(sim.logLines().size(), 5); // no re-send while the answer was arriving
}

void TestUart::silentMeter()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--silent-after", "4"}));
    LogCapture::clear();
    Frame frame;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Uart::exchange(Command::opmCount(), &frame), Incomplete);
    const qint64 elapsed = clock.elapsed();
    // One 500 ms read and four 100 ms reads; sent once and again before the
    // third and the fourth short read.
    QCOMPARE(LogCapture::count("readwhile"), 5);
    QCOMPARE(LogCapture::count("write data"), 1);
    QTRY_COMPARE(sim.logLines().size(), 4 + 3);
    const QStringList lines = sim.logLines().mid(4);
    for (const QString &line : lines)
        QCOMPARE(line.section(QLatin1Char('\t'), 3), QStringLiteral("01000E000F"));
    QVERIFY2(elapsed >= 850, qPrintable(QString::number(elapsed)));
}

void TestUart::wrongStartByteEndsAtOnce()
{
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--junk", "1@count"}));
    LogCapture::clear();
    Frame frame;
    QCOMPARE(Uart::exchange(Command::opmCount(), &frame), CheckFailed);
    QVERIFY(frame.buffer.isEmpty());
    QCOMPARE(LogCapture::count("readwhile"), 0);
    QCOMPARE(sim.logLines().size(), 5);
    // Asked again, the meter answers cleanly.
    QCOMPARE(Uart::exchange(Command::opmCount(), &frame), DataOk);
}

void TestUart::meterAnswers_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QList<int>>("results");

    const QByteArray record3 = Command::singleWaveRecord(3);
    QTest::newRow("busy twice") << QStringList{"--busy", "2@3"} << record3 << QList<int>{Busy, Busy, DataOk};
    QTest::newRow("not ready") << QStringList{"--not-ready", "1@3"} << record3 << QList<int>{NotReady, DataOk};
    QTest::newRow("need reinit") << QStringList{"--need-reinit", "@3"} << record3 << QList<int>{NeedReinit, DataOk};
    QTest::newRow("bad checksum") << QStringList{"--bad-checksum"} << record3 << QList<int>{CheckFailed, DataOk};
    QTest::newRow("other record untouched") << QStringList{"--busy", "3@5,7"} << record3 << QList<int>{DataOk};
    QTest::newRow("past the last") << QStringList{} << Command::singleWaveRecord(13) << QList<int>{Aborted};
    QTest::newRow("record 0") << QStringList{} << Command::singleWaveRecord(0) << QList<int>{Aborted};
    QTest::newRow("clock") << QStringList{} << Command::setClock(2024, 3, 5, 14, 7, 9) << QList<int>{CommandDone};
    QTest::newRow("clock without rtc") << QStringList{"--no-rtc"} << Command::setClock(2024, 3, 5, 14, 7, 9)
                                       << QList<int>{NoRtc};
    QTest::newRow("unknown command") << QStringList{} << Command::build("01001100", {}) << QList<int>{OtherStatus};
}

void TestUart::meterAnswers()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, request);
    QFETCH(QList<int>, results);
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, args));
    for (int expected : results) {
        Frame frame;
        QCOMPARE(int(Uart::exchange(request, &frame)), expected);
    }
}

void TestUart::staleBytesAreNotTakenForTheAnswer()
{
    // Junk long enough to fail the check arrives first; the real answer,
    // trickled behind it, must not be read as the answer to the next request.
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "6", "--junk", "1@1", "--trickle", "2400@1"}));
    Frame first;
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(1), &first), CheckFailed);
    QTest::qWait(200);
    OpmValueFrame second(DevDatas::instance());
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(2), &second), DataOk);
    QCOMPARE(second.itemData.number, QStringLiteral("2"));
}

void TestUart::answerCutShort_data()
{
    QTest::addColumn<QString>("cut");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("sends");

    QTest::newRow("once: asked again within the exchange") << "3@3" << int(DataOk) << 2;
    QTest::newRow("only the first byte came") << "200@3" << int(DataOk) << 2;
    QTest::newRow("twice: the last re-send brings it") << "3:2@3" << int(DataOk) << 3;
    QTest::newRow("every try: a failed check") << "3:3@3" << int(CheckFailed) << 3;
}

void TestUart::answerCutShort()
{
    QFETCH(QString, cut);
    QFETCH(int, result);
    QFETCH(int, sends);
    testsupport::MeterSim sim;
    QVERIFY(connectTo(sim, {"--kind", "6", "--truncate", cut}));
    OpmValueFrame frame(DevDatas::instance());
    QCOMPARE(int(Uart::exchange(Command::singleWaveRecord(3), &frame)), result);
    QTRY_COMPARE(sim.logLines().size(), 4 + sends);
    if (result == DataOk) {
        QCOMPARE(frame.itemData.number, QStringLiteral("3"));
        QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 1);
        return;
    }
    QVERIFY(frame.buffer.isEmpty());
    // Asked for once more (as the window does after a failed check).
    QCOMPARE(Uart::exchange(Command::singleWaveRecord(3), &frame), DataOk);
    QCOMPARE(frame.itemData.number, QStringLiteral("3"));
}

LUMISK_TEST(TestUart)
#include "tst_uart.moc"
