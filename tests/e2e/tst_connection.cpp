// Connecting to simulated meters: which page buttons each meter kind unlocks,
// a reconnect that withdraws the page shown, a failed connect, and the choice
// between two meters.

#include "e2esupport.h"

#include "link/devdatas.h"
#include "link/portdiagnosis.h"
#include "link/uartworker.h"

#include <QComboBox>
#include <QTest>

using namespace e2e;

class TestConnection : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;
    testsupport::MeterSim secondSim;

    QString buttonPattern()
    {
        QString pattern;
        for (const char *name : {"opmBtn", "multiWaveOpmBtn", "partialOpmBtn", "ponOpmBtn", "xgPonBtn", "fttxBtn",
                                 "chartBtn"})
            pattern += button(window.get(), name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return pattern;
    }

private slots:
    void initTestCase() { prepareProcess(); }

    void init() { window = std::make_unique<MainWindow>(); }

    void cleanup()
    {
        if (window && isConnected(window.get()))
            button(window.get(), "connectBtn")->click();
        window.reset();
        sim.stop();
        secondSim.stop();
        QTest::qWait(50);
    }

    void pageButtonsFollowTheMeterKind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("enabled"); // opm multi partial pon xgpon fttx chart

        QTest::newRow("PON meter without range") << QStringList{"--kind", "1", "--range", "0"} << "0001000";
        QTest::newRow("PON meter with range") << QStringList{"--kind", "1", "--range", "1"} << "1001001";
        QTest::newRow("XG-PON meter") << QStringList{"--kind", "3", "--range", "0"} << "0000100";
        QTest::newRow("PON and FTTx meter") << QStringList{"--kind", "4", "--range", "0"} << "0001010";
        QTest::newRow("multi-wave meter") << QStringList{"--kind", "5", "--range", "0"} << "1100001";
        QTest::newRow("single-wave meter") << QStringList{"--kind", "6", "--range", "0"} << "1000001";
        QTest::newRow("partial-wave meter, range ignored") << QStringList{"--kind", "9", "--range", "1"} << "0010000";
        QTest::newRow("meter without record pages")
            << QStringList{"--kind", "5", "--range", "1", "--no-record-pages"} << "0000001";
    }

    void pageButtonsFollowTheMeterKind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, enabled);
        QVERIFY(sim.start(args));
        testsupport::setSerialPorts({sim.linkPath()});

        QCOMPARE(buttonPattern(), QStringLiteral("0000000"));
        QVERIFY(connectWindow(window.get()));
        QCOMPARE(buttonPattern(), enabled);
        QCOMPARE(widget<QLabel>(window.get(), "deviceLabel")->text(), DevDatas::instance()->devType);
        // No page opens by itself.
        QCOMPARE(window->currentPageType(), 0);
        QVERIFY(!widget(window.get(), "downloadBtn")->isVisible());

        // Disconnecting withdraws every page button again.
        button(window.get(), "connectBtn")->click();
        QTRY_VERIFY(button(window.get(), "connectBtn")->isEnabled());
        QCOMPARE(buttonPattern(), QStringLiteral("0000000"));
        QCOMPARE(widget<QLabel>(window.get(), "deviceLabel")->text(), MainWindow::tr("No connection"));
        QVERIFY(!UartWorker::instance()->isConnected());
    }

    void reconnectToAnotherKindWithdrawsThePageShown()
    {
        QVERIFY(sim.start({"--kind", "1", "--range", "0"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));
        window->show();
        button(window.get(), "ponOpmBtn")->click();
        QCOMPARE(window->currentPageType(), 4);
        QVERIFY(button(window.get(), "ponOpmBtn")->isChecked());
        // Clicking the page shown again keeps it.
        button(window.get(), "ponOpmBtn")->click();
        QVERIFY(button(window.get(), "ponOpmBtn")->isChecked());
        QVERIFY(widget(window.get(), "ponOpmTable")->isVisible());

        // The link reports the meter again, now a single-wave one.
        DevDatas *identity = DevDatas::instance();
        const DevDatas saved = *identity;
        identity->devKind = 6;
        window->devInited(Uart::InitOk);
        *identity = saved;
        QVERIFY(!button(window.get(), "ponOpmBtn")->isChecked());
        QVERIFY(!button(window.get(), "ponOpmBtn")->isEnabled());
        QVERIFY(button(window.get(), "opmBtn")->isEnabled());
        QCOMPARE(window->currentPageType(), 0);
    }

    void failedConnectLeavesTheWindowUnconnected()
    {
        testsupport::setSerialPorts({});
        QString text;
        answerMessage("yesBtn", &text);
        button(window.get(), "connectBtn")->click();
        // The first line as ever, then what was found: here, no port at all.
        QTRY_COMPARE(text.section('\n', 0, 0), MainWindow::tr("Failed to connect device"));
        QCOMPARE(text.section('\n', 1), PortDiagnosis::tr("No serial port found."));
        QTRY_VERIFY(button(window.get(), "connectBtn")->isEnabled());
        QCOMPARE(widget<QLabel>(window.get(), "deviceLabel")->text(), MainWindow::tr("No connection"));

        // And it can try again.
        QVERIFY(sim.start({"--kind", "6"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));
    }

    void twoMetersAskWhichOne_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::addColumn<bool>("escape");
        QTest::newRow("the user picks the second") << true << false;
        QTest::newRow("the user closes the dialog") << false << false;
        QTest::newRow("the user presses Escape") << false << true;
    }

    void twoMetersAskWhichOne()
    {
        QFETCH(bool, choose);
        QFETCH(bool, escape);
        QVERIFY(sim.start({"--kind", "6", "--model", "FIRST"}));
        QVERIFY(secondSim.start({"--kind", "4", "--range", "0", "--model", "SECOND"}));
        testsupport::setSerialPorts({sim.linkPath(), secondSim.linkPath()});

        QStringList offered;
        onNextModal("ConnectDialog", [&offered, choose, escape](QWidget *dialog) {
            auto *ports = dialog->findChild<QComboBox *>(QStringLiteral("portCombo"));
            for (int i = 0; i < ports->count(); ++i)
                offered << ports->itemText(i);
            if (escape) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            if (!choose) {
                clickButton(dialog, QStringLiteral("closeBtn"));
                return;
            }
            ports->setCurrentIndex(1);
            dialog->findChild<QComboBox *>(QStringLiteral("baudRateCombo"))->setCurrentText(QStringLiteral("115200"));
            clickButton(dialog, QStringLiteral("okBtn"));
        });
        button(window.get(), "connectBtn")->click();
        QTRY_COMPARE(offered.size(), 2);
        QVERIFY(sim.linkPath().endsWith(offered.at(0)));
        QVERIFY(secondSim.linkPath().endsWith(offered.at(1)));
        if (choose) {
            QTRY_VERIFY(isConnected(window.get()));
            QCOMPARE(widget<QLabel>(window.get(), "deviceLabel")->text(), QStringLiteral("SECOND"));
            QVERIFY(button(window.get(), "fttxBtn")->isEnabled());
        } else {
            QTRY_VERIFY(button(window.get(), "connectBtn")->isEnabled());
            // Given up silently: no "Failed to connect device".
            QVERIFY(testsupport::noModalFor(300));
            QVERIFY(!isConnected(window.get()));
            // A later click starts a fresh attempt rather than disconnecting.
            onNextModal("ConnectDialog", [](QWidget *dialog) {
                clickButton(dialog, QStringLiteral("okBtn"));
            });
            QVERIFY(connectWindow(window.get()));
        }
    }
};

LUMISK_TEST(TestConnection)
#include "tst_connection.moc"
