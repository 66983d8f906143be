// The window as a newcomer and a keyboard user meet it: each command's keys
// do what its button does, and every icon-only button says what it is.

#include "e2esupport.h"

#include <QAction>
#include <QScreen>

using namespace e2e;

namespace {

// Whether what the keys should have done is done.
using Check = std::function<bool(MainWindow *)>;

bool waitFor(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Check)

class TestDesktop : public QObject
{
    Q_OBJECT
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;
    int folderAsked = 0;
    int logBefore = 0;

    void showWindow()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

private slots:
    void initTestCase()
    {
        prepareProcess();
        MainWindow::setDirectoryChooser([this]() {
            ++folderAsked;
            return QString(); // cancelled: nothing is written
        });
    }
    void cleanupTestCase() { MainWindow::setDirectoryChooser(nullptr); }

    void init()
    {
        folderAsked = 0;
        QVERIFY(sim.start({"--kind", "6", "--range", "0"}));
        testsupport::setSerialPorts({sim.linkPath()});
        window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        window.reset();
        sim.stop();
        QTest::qWait(50);
    }

    void keysDoWhatTheButtonDoes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("page"); // the page button pressed first, after connecting; "" none
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("message"); // the message the command brings up; "" none
        QTest::addColumn<Check>("done");
        auto checked = [](const char *name) { return Check([name](MainWindow *w) { return button(w, name)->isChecked(); }); };
        QTest::newRow("connect") << "connectAction" << "" << false << "" << Check(&isConnected);
        QTest::newRow("download") << "downloadAction" << "opmBtn" << true << ""
                                  << Check([this](MainWindow *) { return sim.logLines().size() > logBefore; });
        QTest::newRow("save") << "saveAction" << "opmBtn" << true << "" << Check([this](MainWindow *) { return folderAsked == 1; });
        QTest::newRow("export CSV") << "exportCsvAction" << "" << false << "Save Fail,No Data!" << Check();
        QTest::newRow("export PDF") << "exportPdfAction" << "" << false << "Save Fail,No Data!" << Check();
        QTest::newRow("history") << "historyAction" << "" << false << "" << checked("historyBtn");
        QTest::newRow("live run") << "liveRunAction" << "chartBtn" << true << "" << checked("playBtn");
    }
    void keysDoWhatTheButtonDoes()
    {
        QFETCH(QString, action);
        QFETCH(QString, page);
        QFETCH(bool, connected);
        QFETCH(QString, message);
        QFETCH(Check, done);
        showWindow();
        if (connected)
            QVERIFY(connectWindow(window.get()));
        if (!page.isEmpty())
            button(window.get(), page.toLatin1().constData())->click();
        auto *command = window->findChild<QAction *>(action);
        QVERIFY(command);
        QVERIFY(!command->shortcut().isEmpty());
        QString shown;
        if (!message.isEmpty())
            answerMessage(QStringLiteral("yesBtn"), &shown);
        logBefore = sim.logLines().size();
        QTest::keySequence(window.get(), command->shortcut());
        if (done)
            QVERIFY(waitFor([&]() { return done(window.get()); }));
        else
            QVERIFY(waitFor([&]() { return !shown.isEmpty(); }));
        QCOMPARE(shown, message);
        // Stopped before the window goes: a run or download still going.
        if (auto *play = button(window.get(), "playBtn"); play->isChecked())
            play->click();
        QVERIFY(waitFor([&]() { return !window->isImporting(); }, 60000));
    }

    void startPanelUntilAPageIsChosen()
    {
        showWindow();
        QWidget *start = widget(window.get(), "startPanel");
        QVERIFY(start && start->isVisible());
        QVERIFY(connectWindow(window.get()));
        QVERIFY(start->isVisible()); // connected, no page yet
        button(window.get(), "opmBtn")->click();
        QVERIFY(!start->isVisible());
        button(window.get(), "connectBtn")->click(); // the meter goes
        QTRY_VERIFY(!isConnected(window.get()));
        QTRY_VERIFY(start->isVisible());
        button(window.get(), "historyBtn")->click();
        QVERIFY(!start->isVisible());
    }

    void opensWhereItWasWithinTheScreen_data()
    {
        QTest::addColumn<QRect>("remembered");
        QTest::newRow("as it was") << QRect(20, 30, 760, 560);
        QTest::newRow("bigger than the screen and off it") << QRect(-900, -700, 5000, 4000);
    }
    void opensWhereItWasWithinTheScreen()
    {
        QFETCH(QRect, remembered);
        window->setGeometry(remembered);
        window->close();
        window = std::make_unique<MainWindow>();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (screen.contains(remembered))
            QCOMPARE(window->geometry(), remembered);
        QVERIFY2(screen.contains(window->geometry()), qPrintable(QStringLiteral("%1 %2 %3 %4").arg(window->x()).arg(window->y()).arg(window->width()).arg(window->height())));
    }

    void iconButtonsAreNamed()
    {
        showWindow();
        QVERIFY(connectWindow(window.get()));
        int named = 0;
        for (QPushButton *b : window->findChildren<QPushButton *>()) {
            if (!b->text().isEmpty())
                continue;
            QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
            QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->objectName()));
            ++named;
        }
        QVERIFY(named >= 7); // connect, menu, download, save, and the chart's three
        // The keys are in the tooltip.
        QVERIFY(button(window.get(), "saveBtn")->toolTip().contains(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));
    }
};

LUMISK_TEST(TestDesktop)
#include "tst_desktop.moc"
