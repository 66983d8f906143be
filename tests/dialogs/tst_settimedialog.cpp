// The time-span dialog: the locks at the longest interval and duration, and
// what getSeconds hands back.

#include "dialogs/dialogtitlebar.h"
#include "dialogs/settimedialog.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {
QSpinBox *spin(QWidget *dialog, const char *name)
{
    return dialog->findChild<QSpinBox *>(QLatin1String(name));
}
} // namespace

class TestSetTimeDialog : public QObject
{
    Q_OBJECT

private slots:
    void intervalLocksAtOneHour()
    {
        SetTimeDialog dialog;
        dialog.setMode(SetTimeDialog::Interval);
        QSpinBox *hours = spin(&dialog, "hourSpinBox");
        QSpinBox *minutes = spin(&dialog, "minSpinBox");
        QSpinBox *secs = spin(&dialog, "secSpinBox");
        QCOMPARE(hours->maximum(), 1);
        QVERIFY(!secs->isHidden());

        minutes->setValue(30);
        secs->setValue(45);
        hours->setValue(1);
        QCOMPARE(minutes->value(), 0);
        QCOMPARE(secs->value(), 0);
        QCOMPARE(minutes->maximum(), 0);
        QCOMPARE(secs->maximum(), 0);
        QCOMPARE(dialog.seconds(), 3600);

        // Back below the limit: 59 allowed again, old values not restored.
        hours->setValue(0);
        QCOMPARE(minutes->maximum(), 59);
        QCOMPARE(secs->maximum(), 59);
        QCOMPARE(minutes->value(), 0);
        QCOMPARE(secs->value(), 0);
    }

    void durationLocksAtTwentyFourHours()
    {
        SetTimeDialog dialog;
        dialog.setMode(SetTimeDialog::Duration);
        QSpinBox *hours = spin(&dialog, "hourSpinBox");
        QSpinBox *minutes = spin(&dialog, "minSpinBox");
        QCOMPARE(hours->maximum(), 24);
        QVERIFY(spin(&dialog, "secSpinBox")->isHidden());
        QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("secLabel"))->isHidden());

        hours->setValue(23);
        minutes->setValue(59);
        QCOMPARE(dialog.seconds(), 23 * 3600 + 59 * 60);
        hours->setValue(24);
        QCOMPARE(minutes->value(), 0);
        QCOMPARE(minutes->maximum(), 0);
        QCOMPARE(dialog.seconds(), 24 * 3600);
        hours->setValue(2);
        QCOMPARE(minutes->maximum(), 59);
        // An hour value of 1 is no limit for a duration.
        hours->setValue(1);
        minutes->setValue(15);
        QCOMPARE(minutes->value(), 15);
    }

    // Result and seconds of getSeconds; a hidden seconds box counts 0, and a
    // dialog closed without "OK" leaves the caller's value alone.
    void getSecondsResult_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("s");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("expectedResult");
        QTest::addColumn<int>("expectedSeconds");
        QTest::newRow("interval ok") << 0 << 0 << 2 << 5 << "okBtn" << 1 << 125;
        QTest::newRow("interval one hour") << 0 << 1 << 0 << 0 << "okBtn" << 1 << 3600;
        QTest::newRow("interval zero") << 0 << 0 << 0 << 0 << "okBtn" << 1 << 0;
        QTest::newRow("duration ok") << 1 << 2 << 30 << 40 << "okBtn" << 1 << 9000;
        QTest::newRow("duration 24 h") << 1 << 24 << 0 << 0 << "okBtn" << 1 << 86400;
        QTest::newRow("closed by title bar") << 0 << 0 << 3 << 0 << "closeBtn" << 0 << -7;
        QTest::newRow("duration closed") << 1 << 5 << 0 << 0 << "closeBtn" << 0 << -7;
    }
    void getSecondsResult()
    {
        QFETCH(int, mode);
        QFETCH(int, h);
        QFETCH(int, m);
        QFETCH(int, s);
        QFETCH(QString, button);
        QFETCH(int, expectedResult);
        QFETCH(int, expectedSeconds);
        bool seen = false;
        QString title;
        testsupport::onNextModal([&](QWidget *modal) {
            seen = true;
            title = modal->findChild<QLabel *>(QStringLiteral("titleLabel"))->text();
            spin(modal, "hourSpinBox")->setValue(h);
            spin(modal, "minSpinBox")->setValue(m);
            spin(modal, "secSpinBox")->setValue(s);
            testsupport::clickButton(modal, button);
        });
        int seconds = -7;
        QCOMPARE(SetTimeDialog::getSeconds(mode, seconds), expectedResult);
        QVERIFY(seen);
        QCOMPARE(title, QStringLiteral("Set time"));
        QCOMPARE(seconds, expectedSeconds);
    }
};

LUMISK_TEST(TestSetTimeDialog)
#include "tst_settimedialog.moc"
