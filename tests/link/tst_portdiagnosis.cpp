// What a failed scan says about each port, found on real pseudo-terminals
// held by another process (tests/link/ptyhelper.py). The tests run as root,
// whom file permissions and a terminal's exclusive use do not stop, so the
// scans that need them run with the effective user and group of nobody: the
// open that fails is the transport's real QSerialPort open, refused by the
// kernel with a real errno.

#include "link/portdiagnosis.h"
#include "link/uart.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
constexpr uid_t NobodyId = 65534;

// The effective user and group of nobody while it lives (the real ones stay
// root, so they can be taken back).
class AsNobody
{
public:
    AsNobody() { ok = setegid(NobodyId) == 0 && seteuid(NobodyId) == 0; }
    ~AsNobody()
    {
        if (seteuid(0) != 0 || setegid(0) != 0)
            qFatal("could not take back root");
    }
    bool ok = false;
};
} // namespace

class TestPortDiagnosis : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Uart::releaseAll(); }

    void scanSaysWhatEachPortShowed_data()
    {
        QTest::addColumn<QStringList>("helperArgs");
        QTest::addColumn<bool>("asNobody");
        QTest::addColumn<int>("finding");
        QTest::addColumn<QString>("detail");

        QTest::newRow("device permissions forbid it")
            << QStringList{"--mode", "0600"} << true << int(PortDiagnosis::Finding::PermissionDenied) << "";
        QTest::newRow("another program has it in exclusive use")
            << QStringList{"--mode", "0666", "--exclusive"} << true << int(PortDiagnosis::Finding::HeldByOther)
            << PortDiagnosis::tr("exclusive use");
        QTest::newRow("another program holds its lock file")
            << QStringList{"--lockfile", "<lock>"} << false << int(PortDiagnosis::Finding::HeldByOther)
            << PortDiagnosis::tr("lock file");
        QTest::newRow("nothing answers") << QStringList() << false << int(PortDiagnosis::Finding::NoAnswer) << "";
        QTest::newRow("something else answers")
            << QStringList{"--junk"} << false << int(PortDiagnosis::Finding::NotAMeter) << "";
    }

    void scanSaysWhatEachPortShowed()
    {
        QFETCH(QStringList, helperArgs);
        QFETCH(bool, asNobody);
        QFETCH(int, finding);
        QFETCH(QString, detail);
        if (asNobody && geteuid() != 0)
            QSKIP("needs root to act as another user");

        QTemporaryDir dir;
        // nobody must reach the link through the folder.
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther));
        const QString link = dir.filePath("ttyHeld");
        // Qt's lock file for a port named by its path: the path with '_' for '/'.
        QString lockFile = QStringLiteral("/var/lock/LCK..") + QString(link).replace('/', '_');
        helperArgs.replaceInStrings("<lock>", lockFile);

        QProcess helper;
        helper.start("/usr/bin/python3", QStringList{LUMISK_SOURCE_DIR "/tests/link/ptyhelper.py", link} + helperArgs);
        QVERIFY(helper.waitForReadyRead(5000));
        QCOMPARE(helper.readLine().trimmed(), QByteArray("ready"));
        testsupport::setSerialPorts({link});

        Uart::PortInitState state;
        if (asNobody) {
            AsNobody nobody;
            QVERIFY(nobody.ok);
            state = Uart::init(false);
        } else {
            state = Uart::init(false);
        }
        helper.closeWriteChannel();
        QVERIFY(helper.waitForFinished(5000));

        QCOMPARE(state, Uart::InitFailed);
        const QList<PortDiagnosis::PortReport> reports = Uart::lastPortReports();
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports.first().port, link);
        QCOMPARE(int(reports.first().finding), finding);
        QCOMPARE(reports.first().detail, detail);
    }

    void messageKeepsItsFirstLine()
    {
        const QString headline = QStringLiteral("Failed to connect device");
        QCOMPARE(PortDiagnosis::message(headline, {}), headline + '\n' + PortDiagnosis::tr("No serial port found."));
        const QStringList lines = PortDiagnosis::message(headline, {{"ttyUSB0", PortDiagnosis::Finding::PermissionDenied, {}},
                                                                     {"ttyUSB1", PortDiagnosis::Finding::NoAnswer, {}}})
                                      .split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), headline);
        QVERIFY(lines.at(1).startsWith("ttyUSB0: ") && lines.at(1).contains("dialout"));
        QVERIFY(lines.at(2).startsWith("ttyUSB1: "));
    }
};

LUMISK_TEST(TestPortDiagnosis)
#include "tst_portdiagnosis.moc"
