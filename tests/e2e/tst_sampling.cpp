// Real-time sampling on the chart page (the 500 ms tick is driven by hand),
// the sampling combos with their custom entries and the sample-count limit,
// and setting the meter's clock from the menu.

#include "e2esupport.h"

#include "link/requestledger.h"
#include "dialogs/menuwidget.h"
#include "widgets/chartform.h"

#include <QComboBox>
#include <QProgressBar>
#include <QSpinBox>

using namespace e2e;

class TestSampling : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;

    bool connectTo(const QStringList &args)
    {
        if (!sim.start(args))
            return false;
        testsupport::setSerialPorts({sim.linkPath()});
        return connectWindow(window.get());
    }

    ChartForm *chart() { return widget<ChartForm>(window.get(), "chart"); }
    QComboBox *intervalCombo() { return widget<QComboBox>(window.get(), "sampleIntervalCombo"); }
    QComboBox *timeCombo() { return widget<QComboBox>(window.get(), "sampleTimeCombo"); }
    QPushButton *playBtn() { return chart()->findChild<QPushButton *>(QStringLiteral("playBtn")); }

    // Picks "Customize" and answers the time-span dialog.
    void customize(QComboBox *combo, int hours, int minutes, int seconds)
    {
        onNextModal("SetTimeDialog", [hours, minutes, seconds](QWidget *dialog) {
            dialog->findChild<QSpinBox *>(QStringLiteral("hourSpinBox"))->setValue(hours);
            dialog->findChild<QSpinBox *>(QStringLiteral("minSpinBox"))->setValue(minutes);
            dialog->findChild<QSpinBox *>(QStringLiteral("secSpinBox"))->setValue(seconds);
            clickButton(dialog, QStringLiteral("okBtn"));
        });
        combo->setCurrentIndex(7);
    }

    // Plays or pauses with the chart's play button; the window's own timer
    // is kept still so that the test moves time on by calling the tick.
    void pressPlay()
    {
        playBtn()->click();
        window->findChild<QTimer *>(QStringLiteral("samplingTimer"))->stop();
    }

    // One tick; when it asks for a reading, waits for the reading to arrive.
    bool tick(int *readings)
    {
        window->downloadRealTimeOpmValueTimes();
        if (RequestLedger::instance()->inFlightCount() > 0)
            ++*readings;
        QElapsedTimer clock;
        clock.start();
        while (chart()->sampleCount() < *readings && clock.elapsed() < 5000)
            QTest::qWait(5);
        return chart()->sampleCount() == *readings;
    }

private slots:
    void initTestCase() { prepareProcess(); }

    void init()
    {
        window = std::make_unique<MainWindow>();
        window->show();
    }

    void cleanup()
    {
        if (window && isConnected(window.get()) && !window->isImporting())
            button(window.get(), "connectBtn")->click();
        if (window)
            window->findChild<QTimer *>(QStringLiteral("samplingTimer"))->stop();
        window.reset();
        sim.stop();
        QTest::qWait(50);
    }

    void customEntriesAndTheSampleLimit()
    {
        QCOMPARE(intervalCombo()->currentText(), QStringLiteral("0.5s"));
        QCOMPARE(timeCombo()->currentText(), QStringLiteral("1m"));

        // 0.5 s over 120 minutes is 14400 samples.
        timeCombo()->setCurrentIndex(6);
        QCOMPARE(timeCombo()->currentText(), QStringLiteral("120m"));

        // 24 hours at 0.5 s would be 172800 samples: refused, back to 120m.
        QString refusal;
        onNextModal("SetTimeDialog", [&refusal](QWidget *dialog) {
            dialog->findChild<QSpinBox *>(QStringLiteral("hourSpinBox"))->setValue(24);
            answerMessage("yesBtn", &refusal);
            clickButton(dialog, QStringLiteral("okBtn"));
        });
        timeCombo()->setCurrentIndex(7);
        QTRY_COMPARE(refusal, MainWindow::tr("Sample count can not greater than 65535"));
        QCOMPARE(timeCombo()->currentIndex(), 6);
        QCOMPARE(timeCombo()->count(), 8);

        // At 2 s the same 24 hours are 43200 samples and accepted.
        intervalCombo()->setCurrentIndex(2);
        customize(timeCombo(), 24, 0, 0);
        QCOMPARE(timeCombo()->count(), 9);
        QCOMPARE(timeCombo()->currentText(), QStringLiteral("1440m"));
        // Back at 0.5 s that would exceed the limit again: refused.
        answerMessage("yesBtn", &refusal);
        refusal.clear();
        intervalCombo()->setCurrentIndex(0);
        QTRY_VERIFY(!refusal.isEmpty());
        QCOMPARE(intervalCombo()->currentIndex(), 2);

        // A custom duration of 1 h 30 min; a second custom entry replaces the
        // first rather than adding another.
        customize(timeCombo(), 1, 30, 0);
        QCOMPARE(timeCombo()->currentText(), QStringLiteral("90m"));
        QCOMPARE(timeCombo()->count(), 9);
        customize(intervalCombo(), 1, 0, 0);
        QCOMPARE(intervalCombo()->currentText(), QStringLiteral("3600s"));
        QCOMPARE(intervalCombo()->currentIndex(), 8);
        customize(intervalCombo(), 0, 0, 5);
        QCOMPARE(intervalCombo()->currentText(), QStringLiteral("5s"));
        QCOMPARE(intervalCombo()->count(), 9);

        // A cancelled dialog returns to the previous entry.
        onNextModal("SetTimeDialog", [](QWidget *dialog) { dialog->close(); });
        intervalCombo()->setCurrentIndex(7);
        QCOMPARE(intervalCombo()->currentIndex(), 8);
    }

    void aRunWithPauseAndResume()
    {
        QVERIFY(connectTo({"--kind", "5"}));
        button(window.get(), "chartBtn")->click();
        QVERIFY(widget(window.get(), "realTimeParamWidget")->isVisible());
        QVERIFY(!widget(window.get(), "downloadBtn")->isVisible());
        customize(intervalCombo(), 0, 0, 5);
        customize(timeCombo(), 0, 1, 0);
        QCOMPARE(intervalCombo()->currentText(), QStringLiteral("5s"));
        QCOMPARE(timeCombo()->currentText(), QStringLiteral("1m"));

        // The first reading is asked for at once.
        int readings = 0;
        pressPlay();
        QVERIFY(window->isImporting());
        QVERIFY(!widget(window.get(), "realTimeParamWidget")->isEnabled());
        QVERIFY(!button(window.get(), "menuBtn")->isEnabled());
        QTRY_COMPARE(chart()->sampleCount(), 1);
        readings = 1;
        QCOMPARE(requestCount(sim, "08"), 1);
        QCOMPARE(widget<QLabel>(window.get(), "timerLabel")->text(), QStringLiteral("60s"));

        // Then one every 5 s, that is every tenth tick.
        for (int i = 1; i <= 40; ++i)
            QVERIFY2(tick(&readings), qPrintable(QString("tick %1").arg(i)));
        QCOMPARE(requestCount(sim, "08"), 5);
        QCOMPARE(widget<QLabel>(window.get(), "timerLabel")->text(), QStringLiteral("40s"));
        QCOMPARE(widget<QProgressBar>(window.get(), "progressBar")->value(), 20);

        // Pause: nothing is asked while paused, nor at the resume itself.
        pressPlay();
        QVERIFY(!window->isImporting());
        QVERIFY(button(window.get(), "saveBtn")->isEnabled());
        QVERIFY(!widget(window.get(), "timerLabel")->isVisible());
        pressPlay();
        QVERIFY(window->isImporting());
        QTest::qWait(200);
        QCOMPARE(requestCount(sim, "08"), 5);
        QCOMPARE(chart()->sampleCount(), 5); // the curve goes on
        QCOMPARE(widget<QLabel>(window.get(), "timerLabel")->text(), QStringLiteral("40s"));

        // The rest of the minute, up to and including the reading at 60 s.
        for (int i = 41; i <= 120; ++i)
            QVERIFY2(tick(&readings), qPrintable(QString("tick %1").arg(i)));
        QCOMPARE(requestCount(sim, "08"), 13);
        QVERIFY(window->isImporting());
        // The run ends on the tick after the last interval.
        window->downloadRealTimeOpmValueTimes();
        QVERIFY(!window->isImporting());
        QVERIFY(!playBtn()->isChecked());
        QVERIFY(widget(window.get(), "realTimeParamWidget")->isEnabled());
        QVERIFY(!widget(window.get(), "progressBar")->isVisible());
        QVERIFY(window->hasUnsavedData());
        QTest::qWait(100);
        QCOMPARE(requestCount(sim, "08"), 13);
        QCOMPARE(chart()->sampleCount(), 13);

        // Play again starts a new run, first offering to save the last one.
        QString asked;
        answerMessage("noBtn", &asked);
        pressPlay();
        QCOMPARE(asked, MainWindow::tr("Data has not been saved.\nDo you want to save the data first?"));
        QTRY_COMPARE(chart()->sampleCount(), 1);
        pressPlay();
    }

    // Runs a whole run of the chosen length to its end, tick by tick.
    bool runToTheEnd()
    {
        int readings = chart()->sampleCount();
        while (window->isImporting()) {
            if (!tick(&readings))
                return false;
        }
        return true;
    }

    // A new duration chosen after a run has ended: the next run starts from
    // zero at the new length and first offers to save the last one.
    void aNewDurationAfterAFinishedRunStartsAfresh_data()
    {
        QTest::addColumn<int>("firstMinutes");
        QTest::addColumn<int>("nextMinutes");
        QTest::newRow("longer") << 1 << 3;
        QTest::newRow("shorter") << 2 << 1;
    }

    void aNewDurationAfterAFinishedRunStartsAfresh()
    {
        QFETCH(int, firstMinutes);
        QFETCH(int, nextMinutes);
        QVERIFY(connectTo({"--kind", "5"}));
        button(window.get(), "chartBtn")->click();
        customize(intervalCombo(), 0, 0, 30);
        customize(timeCombo(), 0, firstMinutes, 0);
        pressPlay();
        QTRY_COMPARE(chart()->sampleCount(), 1);
        QVERIFY(runToTheEnd());
        QVERIFY(window->hasUnsavedData());

        customize(timeCombo(), 0, nextMinutes, 0);
        const int asked08 = requestCount(sim, "08");
        QString asked;
        answerMessage("noBtn", &asked);
        pressPlay();
        QCOMPARE(asked, MainWindow::tr("Data has not been saved.\nDo you want to save the data first?"));
        QVERIFY(window->isImporting());
        QCOMPARE(widget<QLabel>(window.get(), "timerLabel")->text(), QStringLiteral("%1s").arg(nextMinutes * 60));
        QTRY_COMPARE(chart()->sampleCount(), 1);
        QCOMPARE(requestCount(sim, "08"), asked08 + 1);
        pressPlay();
    }

    // The chart's clean button during a run ends it: the menu and saving
    // come back.
    void cleaningDuringARunEndsIt()
    {
        QVERIFY(connectTo({"--kind", "5"}));
        button(window.get(), "chartBtn")->click();
        pressPlay();
        QTRY_COMPARE(chart()->sampleCount(), 1);
        QVERIFY(!button(window.get(), "menuBtn")->isEnabled());
        answerMessage("yesBtn");
        chart()->findChild<QPushButton *>(QStringLiteral("cleanBtn"))->click();
        QVERIFY(!window->isImporting());
        QCOMPARE(chart()->sampleCount(), 0);
        QVERIFY(button(window.get(), "menuBtn")->isEnabled());
        QVERIFY(button(window.get(), "saveBtn")->isEnabled());
    }

    // A record asked for outside any download, answered "no further record"
    // while a sampling run has started: that answer is not the run's and
    // must not end it.
    void aStrayRecordAnswerDoesNotEndARun()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "0"}));
        button(window.get(), "opmBtn")->click();
        window->importthisDatas();
        QVERIFY(RequestLedger::instance()->inFlightCount() > 0);
        button(window.get(), "chartBtn")->click();
        pressPlay();
        // The record's answer comes first, then the run's first reading.
        QTRY_COMPARE(chart()->sampleCount(), 1);
        QVERIFY(window->isImporting());
        int readings = 1;
        // Every later reading is taken too.
        QVERIFY(tick(&readings));
        QVERIFY(tick(&readings));
        QCOMPARE(readings, 3);
        QVERIFY(window->isImporting());
        pressPlay();
    }

    // A meter without record pages re-initialised during a run (need-reinit
    // on a reading): the next meter connected still gets its page buttons.
    void aResumeIsNotCarriedToTheNextMeter()
    {
        QVERIFY(connectTo({"--kind", "5", "--no-record-pages", "--need-reinit", "1@rt"}));
        button(window.get(), "chartBtn")->click();
        const int identities = requestCount(sim, "01");
        pressPlay();
        // The port is opened again and the meter identified again.
        QTRY_VERIFY_WITH_TIMEOUT(requestCount(sim, "01") > identities, 5000);
        QTest::qWait(100);
        pressPlay();
        QTRY_VERIFY(RequestLedger::instance()->inFlightCount() == 0);
        button(window.get(), "connectBtn")->click();
        QTRY_VERIFY(!isConnected(window.get()));
        sim.stop();

        QVERIFY(connectTo({"--kind", "6"}));
        QVERIFY(button(window.get(), "opmBtn")->isEnabled());
    }

    void anIntervalLongerThanTheRunFallsBackToHalfASecond()
    {
        QVERIFY(connectTo({"--kind", "5"}));
        button(window.get(), "chartBtn")->click();
        customize(intervalCombo(), 0, 2, 0);
        QCOMPARE(intervalCombo()->currentText(), QStringLiteral("120s"));
        pressPlay();
        QCOMPARE(intervalCombo()->currentIndex(), 0);
        int readings = 0;
        QTRY_COMPARE(chart()->sampleCount(), 1);
        readings = 1;
        QVERIFY(tick(&readings));
        QCOMPARE(requestCount(sim, "08"), 2);
        pressPlay();
    }

    void clockSynchronisation_data()
    {
        QTest::addColumn<QStringList>("meter");
        QTest::addColumn<QString>("answer");
        QTest::newRow("meter with a clock") << QStringList{"--kind", "6"} << "Time has been synchronized";
        QTest::newRow("meter without a clock") << QStringList{"--kind", "6", "--no-rtc"} << "Device has no RTC";
    }

    void clockSynchronisation()
    {
        QFETCH(QStringList, meter);
        QFETCH(QString, answer);
        QVERIFY(connectTo(meter));

        button(window.get(), "menuBtn")->click();
        auto *menu = window->findChild<MenuWidget *>();
        QVERIFY(menu);
        auto *sync = menu->findChild<QPushButton *>(QStringLiteral("syncTimeBtn"));
        QVERIFY(sync->isEnabled());
        QString message;
        answerMessage("yesBtn", &message);
        sync->click();
        QTRY_COMPARE_WITH_TIMEOUT(message, MainWindow::tr(answer.toLatin1().constData()), 5000);
        QTRY_VERIFY(!button(window.get(), "menuBtn")->isChecked());

        // The last request set the clock to the PC's date.
        const QStringList lines = sim.logLines();
        const QString hex = lines.last().split(QLatin1Char('\t')).value(3);
        QVERIFY2(hex.startsWith(QStringLiteral("02070200")), qPrintable(hex));
        const QDate today = QDate::currentDate();
        QCOMPARE(hex.mid(8, 4).toInt(nullptr, 16), today.year());
        QCOMPARE(hex.mid(12, 2).toInt(nullptr, 16), today.month());
        QVERIFY(RequestLedger::instance()->inFlightCount() == 0);
    }
};

LUMISK_TEST(TestSampling)
#include "tst_sampling.moc"
