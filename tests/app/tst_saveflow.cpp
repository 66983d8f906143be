// The save flow without a window: when the question comes, what is saved, and
// what counts as unsaved afterwards.

#include "app/saveflow.h"
#include "dialogs/messagedialog.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QTest>

class TestSaveFlow : public QObject
{
    Q_OBJECT
    bool busy = false;
    QStringList saved;
    QString folder;

    SaveFlow *flow()
    {
        return new SaveFlow([this]() { return busy; }, [this](const QString &dir) { saved << dir; }, this);
    }

private slots:
    void init()
    {
        busy = false;
        saved.clear();
        folder = QStringLiteral("/reports");
        noLongerPrompt = false;
        SaveFlow::setDirectoryChooser([this]() { return folder; });
    }
    void cleanupTestCase() { SaveFlow::setDirectoryChooser(nullptr); }

    void askBeforeDataGoes_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<bool>("promptOff");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("busyMeanwhile");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("saves");
        QTest::newRow("nothing unsaved") << false << false << "" << false << "/r" << false << 0;
        QTest::newRow("yes saves") << true << false << "yesBtn" << false << "/r" << true << 1;
        QTest::newRow("no keeps nothing") << true << false << "noBtn" << false << "/r" << true << 0;
        QTest::newRow("folder cancelled") << true << false << "yesBtn" << false << "" << true << 0;
        // A run that began while the question was open is not saved under it.
        QTest::newRow("busy meanwhile") << true << false << "yesBtn" << true << "/r" << true << 0;
        QTest::newRow("no longer prompt") << true << true << "" << false << "/r" << false << 0;
    }
    void askBeforeDataGoes()
    {
        QFETCH(bool, unsaved);
        QFETCH(bool, promptOff);
        QFETCH(QString, answer);
        QFETCH(bool, busyMeanwhile);
        QFETCH(QString, chosen);
        QFETCH(bool, asked);
        QFETCH(int, saves);
        SaveFlow *saveFlow = flow();
        if (unsaved)
            saveFlow->markUnsaved();
        noLongerPrompt = promptOff;
        folder = chosen;
        if (!answer.isEmpty()) {
            testsupport::onNextModal([&](QWidget *modal) {
                busy = busyMeanwhile;
                testsupport::clickButton(modal, answer);
            });
        }
        QCOMPARE(saveFlow->askToSave(), asked);
        QCOMPARE(saved.size(), saves);
        QVERIFY(!saveFlow->hasUnsaved());
        QCOMPARE(saveFlow->isPromptOff(), promptOff && unsaved);
    }

    // The save button: only with a folder and nothing running; a cancelled
    // folder leaves the data unsaved.
    void saveButton_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("stillUnsaved");
        QTest::newRow("saved") << false << "/r" << false;
        QTest::newRow("cancelled") << false << "" << true;
        QTest::newRow("while running") << true << "/r" << true;
    }
    void saveButton()
    {
        QFETCH(bool, running);
        QFETCH(QString, chosen);
        QFETCH(bool, stillUnsaved);
        SaveFlow *saveFlow = flow();
        saveFlow->markUnsaved();
        busy = running;
        folder = chosen;
        saveFlow->save();
        QCOMPARE(saved.size(), stillUnsaved ? 0 : 1);
        QCOMPARE(saveFlow->hasUnsaved(), stillUnsaved);
    }
};

LUMISK_TEST(TestSaveFlow)
#include "tst_saveflow.moc"
