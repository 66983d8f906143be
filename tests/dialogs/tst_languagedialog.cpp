// The language dialog's decisions, run from the menu and applied as the
// window applies them: checked against the settings file, and the restart
// request (event-loop exit code 1) with the link released.

#include "app/application.h"
#include "domain/configuration.h"
#include "dialogs/languagedialog.h"
#include "dialogs/menuwidget.h"
#include "dialogs/messagedialog.h"
#include "link/uartworker.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// Answers the restart question when (and only when) one appears while it is
// alive; counts the questions seen.
class QuestionAnswerer : public QObject
{
public:
    QuestionAnswerer(const QString &button)
    {
        connect(&timer, &QTimer::timeout, this, [this, button]() {
            auto *box = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || box == answered)
                return;
            answered = box;
            ++asked;
            text = box->findChild<QLabel *>(QStringLiteral("msgLabel"))->text();
            testsupport::clickButton(box, button);
        });
        timer.start(20);
    }
    int asked = 0;
    QString text;

private:
    QTimer timer;
    QPointer<QWidget> answered;
};

struct Outcome {
    int exitCode = -1; // of the surrounding event loop
    int asked = 0;
    QString question;
};

constexpr int noExitRequested = 0;

// Runs the dialog from the menu inside the application's event loop, with
// the menu's choice applied as the window applies it, so that an exit
// request shows up as that loop's return code.
Outcome runDialog(int choice, const QString &answer)
{
    Outcome outcome;
    QObject guard;
    QuestionAnswerer answerer(answer);
    QTimer::singleShot(0, &guard, [&]() {
        testsupport::onNextModal("LanguageDialog", [choice](QWidget *modal) {
            modal->findChild<QComboBox *>(QStringLiteral("languageCombo"))->setCurrentIndex(choice);
            testsupport::clickButton(modal, QStringLiteral("okBtn"));
        });
        auto *menu = new MenuWidget(true);
        QObject::connect(menu, &MenuWidget::languageChosen, &applyLanguageChoice);
        menu->show();
        menu->findChild<QPushButton *>(QStringLiteral("languageBtn"))->click();
        // Reached only when the dialog did not ask for an exit already.
        QTimer::singleShot(0, &guard, []() { QCoreApplication::exit(noExitRequested); });
    });
    outcome.exitCode = QCoreApplication::exec();
    outcome.asked = answerer.asked;
    outcome.question = answerer.text;
    return outcome;
}

} // namespace

class TestLanguageDialog : public QObject
{
    Q_OBJECT

private:
    QString settingsPath;

    // The stored code as the file says, -1 when absent.
    int storedInFile() const
    {
        QFile file(settingsPath);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const auto match = QRegularExpression(QStringLiteral("(?m)^language=(-?\\d+)"))
                               .match(QString::fromUtf8(file.readAll()));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

    // A main window built in `running`, with `stored` chosen since.
    void startWith(int running, int stored)
    {
        Configuration::instance()->setLanguage(running, false);
        Configuration::instance()->updateLanguageForUI();
        Configuration::instance()->setLanguage(stored, false);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        settingsPath = Configuration::instance()->settingsPath();
        QVERIFY(settingsPath.contains(QStringLiteral(".qttest")));
        QFile::remove(settingsPath);
    }

    // A restart loads the new translators; later checks read English texts.
    void cleanup()
    {
        Configuration::instance()->setLanguage(Configuration::English, true);
    }

    void cleanupTestCase()
    {
        startWith(Configuration::English, Configuration::English);
        Configuration::instance()->loadTranslators();
        QFile::remove(settingsPath);
    }

    void comboShowsStoredLanguage_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("expectedIndex");
        QTest::newRow("English") << 0 << 0;
        QTest::newRow("Chinese") << 1 << 1;
        QTest::newRow("unknown code") << 7 << 0;
    }
    void comboShowsStoredLanguage()
    {
        QFETCH(int, stored);
        QFETCH(int, expectedIndex);
        LanguageDialog dialog(0, stored);
        QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("languageCombo"))->currentIndex(), expectedIndex);
    }

    // running: the window's language; stored: the one chosen since; choice and
    // answer in the dialog.
    void decisions_data()
    {
        QTest::addColumn<int>("running");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("expectedAsked");
        QTest::addColumn<int>("expectedStored");
        QTest::addColumn<int>("expectedExit");
        QTest::newRow("same as running") << 0 << 0 << 0 << "yesBtn" << 0 << 0 << 0;
        QTest::newRow("back to running after declined") << 0 << 1 << 0 << "yesBtn" << 0 << 0 << 0;
        QTest::newRow("new choice, no") << 0 << 0 << 1 << "noBtn" << 1 << 1 << 0;
        QTest::newRow("new choice, yes") << 0 << 0 << 1 << "yesBtn" << 1 << 1 << 1;
        QTest::newRow("declined before, asked again, no") << 0 << 1 << 1 << "noBtn" << 1 << 1 << 0;
        QTest::newRow("declined before, yes") << 0 << 1 << 1 << "yesBtn" << 1 << 1 << 1;
        QTest::newRow("Chinese window, English, yes") << 1 << 1 << 0 << "yesBtn" << 1 << 0 << 1;
    }
    void decisions()
    {
        QFETCH(int, running);
        QFETCH(int, stored);
        QFETCH(int, choice);
        QFETCH(QString, answer);
        QFETCH(int, expectedAsked);
        QFETCH(int, expectedStored);
        QFETCH(int, expectedExit);
        QFile::remove(settingsPath);
        startWith(running, stored);
        UartWorker::instance()->setConnected(true);

        const Outcome outcome = runDialog(choice, answer);

        QCOMPARE(outcome.asked, expectedAsked);
        if (expectedAsked)
            QCOMPARE(outcome.question,
                     QStringLiteral("Application needs to be restarted \n to apply the language change.\nRestart it now?"));
        QCOMPARE(storedInFile(), expectedStored);
        QCOMPARE(Configuration::instance()->getLanguage(), expectedStored);
        QCOMPARE(outcome.exitCode, expectedExit);
        // Only a restart lets go of the meter; the window keeps running otherwise.
        QCOMPARE(UartWorker::instance()->isConnected(), expectedExit == 0);
        // The running window's language changes only with a new window.
        QCOMPARE(Configuration::languageForUI(), running);
        UartWorker::instance()->setConnected(false);
    }

    // The walk the user takes: Chinese declined, asked again, then English.
    void declinedThenBackToEnglish()
    {
        QFile::remove(settingsPath);
        startWith(0, 0);
        QCOMPARE(runDialog(1, QStringLiteral("noBtn")).asked, 1);
        QCOMPARE(storedInFile(), 1);
        QCOMPARE(runDialog(1, QStringLiteral("noBtn")).asked, 1);
        QCOMPARE(storedInFile(), 1);
        const Outcome last = runDialog(0, QStringLiteral("yesBtn"));
        QCOMPARE(last.asked, 0);
        QCOMPARE(last.exitCode, 0);
        QCOMPARE(storedInFile(), 0);
    }

    void titleBarClosesWithoutStoring()
    {
        QFile::remove(settingsPath);
        startWith(0, 0);
        auto *menu = new MenuWidget(false); // deletes itself on close
        QSignalSpy chosen(menu, &MenuWidget::languageChosen);
        testsupport::onNextModal("LanguageDialog", [](QWidget *modal) {
            modal->findChild<QComboBox *>(QStringLiteral("languageCombo"))->setCurrentIndex(1);
            testsupport::clickButton(modal, QStringLiteral("closeBtn"));
        });
        menu->findChild<QPushButton *>(QStringLiteral("languageBtn"))->click();
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(storedInFile(), -1);
        QCOMPARE(Configuration::instance()->getLanguage(), 0);
    }
};

LUMISK_TEST(TestLanguageDialog)
#include "tst_languagedialog.moc"
