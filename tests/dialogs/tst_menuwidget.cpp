// The drop-down menu: which entries are offered, what they emit, and that
// the menu goes away after an entry has done its work.

#include "dialogs/menuwidget.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {
QPushButton *entry(QWidget *menu, const char *name)
{
    return menu->findChild<QPushButton *>(QLatin1String(name));
}

// The menu deletes itself on close; let the deferred deletion happen.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
} // namespace

class TestMenuWidget : public QObject
{
    Q_OBJECT

private slots:
    // The language entry reads the settings; keep them away from the user's.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void entriesFollowConnection_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::newRow("no meter") << false;
        QTest::newRow("meter connected") << true;
    }
    void entriesFollowConnection()
    {
        QFETCH(bool, connected);
        QPointer<MenuWidget> menu = new MenuWidget(connected);
        QVERIFY(menu->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(menu->windowFlags().testFlag(Qt::Popup));
        menu->show();
        QVERIFY(!entry(menu, "connectBtn")->isVisible());
        QCOMPARE(entry(menu, "syncTimeBtn")->isEnabled(), connected);
        for (const char *name : {"optionalInstructionBtn", "languageBtn", "aboutBtn"}) {
            QVERIFY2(entry(menu, name)->isVisible(), name);
            QVERIFY2(entry(menu, name)->isEnabled(), name);
        }
        menu->close();
        settle();
        QVERIFY(menu.isNull());
    }

    void syncTimeEmitsAndCloses()
    {
        QPointer<MenuWidget> menu = new MenuWidget(true);
        QSignalSpy sync(menu.data(), &MenuWidget::syncDateTime);
        QSignalSpy connectDev(menu.data(), &MenuWidget::connectDev);
        menu->show();
        entry(menu, "syncTimeBtn")->click();
        QCOMPARE(sync.count(), 1);
        QCOMPARE(connectDev.count(), 0);
        settle();
        QVERIFY(menu.isNull());
    }

    // About and Language run their dialog, and the menu is gone afterwards,
    // even when the dialog's event loop already deleted it.
    void dialogEntriesRunTheirDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expectedTitle");
        QTest::newRow("about") << "aboutBtn" << "About";
        QTest::newRow("language") << "languageBtn" << "Language";
    }
    void dialogEntriesRunTheirDialog()
    {
        QFETCH(QString, button);
        QFETCH(QString, expectedTitle);
        QPointer<MenuWidget> menu = new MenuWidget(false);
        menu->show();
        QString title;
        testsupport::onNextModal([&](QWidget *modal) {
            title = modal->findChild<QLabel *>(QStringLiteral("titleLabel"))->text();
            testsupport::clickButton(modal, QStringLiteral("closeBtn"));
        });
        menu->findChild<QPushButton *>(button)->click();
        QCOMPARE(title, expectedTitle);
        settle();
        QVERIFY(menu.isNull());
    }
};

LUMISK_TEST(TestMenuWidget)
#include "tst_menuwidget.moc"
