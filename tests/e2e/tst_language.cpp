// The language change from the menu: the window is rebuilt in the same
// process under the new translators, and the new window starts unconnected.

#include "e2esupport.h"

#include "domain/configuration.h"
#include "dialogs/menuwidget.h"
#include "link/uartworker.h"

#include <QComboBox>

using namespace e2e;

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    testsupport::MeterSim sim;

private slots:
    void initTestCase() { prepareProcess(); }

    void cleanupTestCase()
    {
        Configuration::instance()->setLanguage(Configuration::English, true);
        Configuration::instance()->saveLanguage();
        sim.stop();
    }

    void restartInChinese()
    {
        Configuration::instance()->setLanguage(Configuration::English, true);
        auto window = std::make_unique<MainWindow>();
        window->show();
        QCOMPARE(Configuration::languageForUI(), 0);
        QVERIFY(sim.start({"--kind", "5"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));

        MainWindow *shown = window.get();
        QTimer::singleShot(0, shown, [shown]() {
            onNextModal("LanguageDialog", [](QWidget *dialog) {
                dialog->findChild<QComboBox *>(QStringLiteral("languageCombo"))->setCurrentIndex(1);
                answerMessage("yesBtn"); // restart now
                clickButton(dialog, QStringLiteral("okBtn"));
            });
            button(shown, "menuBtn")->click();
            shown->findChild<MenuWidget *>()->findChild<QPushButton *>(QStringLiteral("languageBtn"))->click();
        });
        // What start-up does: run the event loop, and on exit code 1 build a
        // new window under the translators now in force.
        const int code = QApplication::exec();
        QCOMPARE(code, 1);
        window.reset();
        QVERIFY(!UartWorker::instance()->isConnected());
        Configuration::instance()->loadTranslators();
        window = std::make_unique<MainWindow>();
        window->show();

        QCOMPARE(Configuration::languageForUI(), 1);
        QCOMPARE(button(window.get(), "chartBtn")->text(), QString::fromUtf8("实时曲线"));
        QCOMPARE(widget<QLabel>(window.get(), "deviceLabel")->text(), MainWindow::tr("No connection"));
        for (const char *name : {"opmBtn", "multiWaveOpmBtn", "chartBtn"})
            QVERIFY(!button(window.get(), name)->isEnabled());
        QVERIFY(button(window.get(), "connectBtn")->isEnabled());

        // The same meter connects again from the new window.
        QVERIFY(connectWindow(window.get()));
        QVERIFY(button(window.get(), "multiWaveOpmBtn")->isEnabled());
        button(window.get(), "connectBtn")->click();
    }
};

LUMISK_TEST(TestLanguage)
#include "tst_language.moc"
