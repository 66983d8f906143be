// The message box: which buttons each variant shows, what each way of
// closing answers, and the "No longer prompt" flag.

#include "dialogs/messagedialog.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// How the test ends the dialog.
enum Ending { ClickYes, ClickNo, PressEscape, CloseWindow };

void endDialog(QWidget *modal, Ending ending)
{
    switch (ending) {
    case ClickYes:
        testsupport::clickButton(modal, QStringLiteral("yesBtn"));
        break;
    case ClickNo:
        testsupport::clickButton(modal, QStringLiteral("noBtn"));
        break;
    case PressEscape:
        QTest::keyClick(modal, Qt::Key_Escape);
        break;
    case CloseWindow:
        modal->close();
        break;
    }
}

struct Seen {
    bool seen = false;
    bool frameless = false;
    QString message;
    QString yesText;
    bool noVisible = false;
    bool optionVisible = false;
    bool optionChecked = false;
};

void observeAndEnd(Seen *seen, Ending ending, int optionClicks = 0)
{
    testsupport::onNextModal([=](QWidget *modal) {
        seen->seen = true;
        seen->frameless = modal->windowFlags().testFlag(Qt::FramelessWindowHint);
        seen->message = modal->findChild<QLabel *>(QStringLiteral("msgLabel"))->text();
        seen->yesText = modal->findChild<QPushButton *>(QStringLiteral("yesBtn"))->text();
        seen->noVisible = modal->findChild<QPushButton *>(QStringLiteral("noBtn"))->isVisible();
        auto *option = modal->findChild<QRadioButton *>(QStringLiteral("CheckedButton"));
        seen->optionVisible = option->isVisible();
        seen->optionChecked = option->isChecked();
        for (int i = 0; i < optionClicks; ++i)
            option->click();
        endDialog(modal, ending);
    });
}

} // namespace

class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { noLongerPrompt = false; }

    void showMessageHasOnlyOk_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("expected");
        QTest::newRow("ok") << int(ClickYes) << 1;
        QTest::newRow("escape") << int(PressEscape) << 0;
    }
    void showMessageHasOnlyOk()
    {
        QFETCH(int, ending);
        QFETCH(int, expected);
        Seen seen;
        observeAndEnd(&seen, Ending(ending));
        QCOMPARE(showMessage(QStringLiteral("Report exported")), expected);
        QVERIFY(seen.seen);
        QVERIFY(seen.frameless);
        QCOMPARE(seen.message, QStringLiteral("Report exported"));
        QCOMPARE(seen.yesText, QStringLiteral("OK"));
        QVERIFY(!seen.noVisible);
        QVERIFY(!seen.optionVisible);
    }

    // Only "Yes" answers yes; every other way out is "No".
    void questionAnswers_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("expected");
        QTest::newRow("yes") << int(ClickYes) << 1;
        QTest::newRow("no") << int(ClickNo) << 0;
        QTest::newRow("escape") << int(PressEscape) << 0;
        QTest::newRow("closed") << int(CloseWindow) << 0;
    }
    void questionAnswers()
    {
        QFETCH(int, ending);
        QFETCH(int, expected);
        Seen seen;
        observeAndEnd(&seen, Ending(ending));
        QCOMPARE(question(QStringLiteral("Stop?")), expected);
        QVERIFY(seen.seen);
        QCOMPARE(seen.yesText, QStringLiteral("Yes"));
        QVERIFY(seen.noVisible);
        QVERIFY(!seen.optionVisible);
    }

    // Message texts come from the meter too (model names); they are shown as
    // they are, never interpreted as markup.
    void messageIsPlainText()
    {
        Seen seen;
        observeAndEnd(&seen, ClickYes);
        showMessage(QStringLiteral("<b>OPM</b>"));
        QCOMPARE(seen.message, QStringLiteral("<b>OPM</b>"));
        MessageDialog dialog;
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("msgLabel"))->textFormat(), Qt::PlainText);
    }

    // The box is offered fresh (unticked, flag cleared); ticking it sets the
    // flag whatever the answer; a second click takes the tick back.
    void optionSetsFlagWhateverTheAnswer_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("expectedAnswer");
        QTest::addColumn<bool>("expectedFlag");
        QTest::newRow("untouched, yes") << int(ClickYes) << 0 << 1 << false;
        QTest::newRow("ticked, yes") << int(ClickYes) << 1 << 1 << true;
        QTest::newRow("ticked, no") << int(ClickNo) << 1 << 0 << true;
        QTest::newRow("ticked, escape") << int(PressEscape) << 1 << 0 << true;
        QTest::newRow("ticked and unticked") << int(ClickYes) << 2 << 1 << false;
    }
    void optionSetsFlagWhateverTheAnswer()
    {
        QFETCH(int, ending);
        QFETCH(int, clicks);
        QFETCH(int, expectedAnswer);
        QFETCH(bool, expectedFlag);
        noLongerPrompt = true; // left over from an earlier question
        Seen seen;
        observeAndEnd(&seen, Ending(ending), clicks);
        QCOMPARE(questionWithOption(QStringLiteral("Save first?"), true), expectedAnswer);
        QVERIFY(seen.optionVisible);
        QVERIFY(!seen.optionChecked);
        QVERIFY(seen.noVisible);
        QCOMPARE(noLongerPrompt, expectedFlag);
    }

    void questionWithoutOptionKeepsFlag()
    {
        noLongerPrompt = true;
        Seen seen;
        observeAndEnd(&seen, ClickNo);
        QCOMPARE(questionWithOption(QStringLiteral("Save first?"), false), 0);
        QVERIFY(!seen.optionVisible);
        QVERIFY(noLongerPrompt);
    }

    void cleanupTestCase() { noLongerPrompt = false; }
};

LUMISK_TEST(TestMessageDialog)
#include "tst_messagedialog.moc"
