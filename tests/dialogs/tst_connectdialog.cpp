// The connect dialog offers the ports it is given and returns the user's
// port and rate, or gives up when it is closed through its title bar.

#include "dialogs/connectdialog.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestConnectDialog : public QObject
{
    Q_OBJECT

private slots:
    // portIndex/rateIndex -1: left as the dialog opened.
    void okReturnsChoice_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<int>("portIndex");
        QTest::addColumn<int>("rateIndex");
        QTest::addColumn<QString>("expectedPort");
        QTest::addColumn<int>("expectedRate");
        const QStringList two{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1")};
        QTest::newRow("untouched") << two << -1 << -1 << "/dev/ttyUSB0" << 600;
        QTest::newRow("second port, 115200") << two << 1 << 10 << "/dev/ttyUSB1" << 115200;
        QTest::newRow("9600") << two << 0 << 4 << "/dev/ttyUSB0" << 9600;
        QTest::newRow("no ports") << QStringList() << -1 << 2 << "" << 2400;
    }
    void okReturnsChoice()
    {
        QFETCH(QStringList, ports);
        QFETCH(int, portIndex);
        QFETCH(int, rateIndex);
        QFETCH(QString, expectedPort);
        QFETCH(int, expectedRate);
        ConnectDialog dialog;
        dialog.fillPorts(ports);
        QSignalSpy closed(&dialog, &ConnectDialog::closeConnectDialog);
        testsupport::onNextModal([&](QWidget *modal) {
            if (portIndex >= 0)
                modal->findChild<QComboBox *>(QStringLiteral("portCombo"))->setCurrentIndex(portIndex);
            if (rateIndex >= 0)
                modal->findChild<QComboBox *>(QStringLiteral("baudRateCombo"))->setCurrentIndex(rateIndex);
            modal->findChild<QPushButton *>(QStringLiteral("okBtn"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.chosenPort().portName, expectedPort);
        QCOMPARE(dialog.chosenPort().baudRate, expectedRate);
        QCOMPARE(closed.count(), 0);
        QVERIFY(!dialog.isVisible());
    }

    void titleBarCloseGivesUp()
    {
        ConnectDialog dialog;
        dialog.fillPorts({QStringLiteral("/dev/ttyUSB0")});
        QSignalSpy closed(&dialog, &ConnectDialog::closeConnectDialog);
        testsupport::clickInNextModal(QStringLiteral("closeBtn"));
        QCOMPARE(dialog.exec(), 0);
        QCOMPARE(closed.count(), 1);
    }
};

LUMISK_TEST(TestConnectDialog)
#include "tst_connectdialog.moc"
