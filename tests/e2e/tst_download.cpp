// Downloading stored records from a simulated meter into each record page,
// with the meter misbehaving on the way; stopping, switching and connecting
// while a download runs; the link going away; saving the report.

#include "e2esupport.h"

#include "history/historystore.h"
#include "link/requestledger.h"
#include "link/valueformat.h"
#include "records.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>

using namespace e2e;

namespace {

// Number and name texts of the records a page holds, in store order.
void storedRecords(MainWindow *window, const QString &page, QStringList *numbers, QStringList *names)
{
    auto collect = [numbers, names](const auto &records) {
        for (const auto &record : records) {
            *numbers << record.number;
            *names << record.name;
        }
    };
    QWidget *w = window->findChild<QWidget *>(page);
    if (auto *p = qobject_cast<OpmForm *>(w))
        collect(p->items.allItems());
    else if (auto *p = qobject_cast<MultiWaveOpmForm *>(w))
        collect(p->items.allItems());
    else if (auto *p = qobject_cast<PartialOpmForm *>(w))
        collect(p->items.allItems());
    else if (auto *p = qobject_cast<PonOpmForm *>(w))
        collect(p->items.allItems());
    else if (auto *p = qobject_cast<XGPonForm *>(w))
        collect(p->items.allItems());
}

int storedCount(MainWindow *window, const QString &page)
{
    QStringList numbers, names;
    storedRecords(window, page, &numbers, &names);
    return numbers.size();
}

QStringList oneTo(int last)
{
    QStringList list;
    for (int i = 1; i <= last; ++i)
        list << QString::number(i);
    return list;
}

bool isNonDecreasing(const QList<int> &values)
{
    for (int i = 1; i < values.size(); ++i)
        if (values.at(i) < values.at(i - 1))
            return false;
    return true;
}

// ---- What the simulator sent ------------------------------------------

// One reading as the simulator put it on the wire.
struct SentReading {
    int wavelength = 0;
    float power = 0;
    int unit = 0;
    float watt = 0;
    float reference = 0;
};

// The readings of record `number` of a family ("06", "07" multi, "07p"
// partial, "09", "0A"), decoded from the simulator's own encoding of it.
QList<SentReading> sentReadings(const QString &family, int number)
{
    const StoredRecord record = family == "06"    ? records::generatedSingle(number)
        : family == "07"                           ? records::generatedMulti(number)
        : family == "07p"                          ? records::generatedPartial(number)
        : family == "09"                           ? records::generatedPon(number)
                                                   : records::generatedXgPon(number);
    const bool pon = family == "09" || family == "0A";
    const QByteArray &p = record.payload;
    int at = 0;
    auto u8 = [&]() { return at < p.size() ? quint8(p.at(at++)) : quint8(0); };
    auto u16 = [&]() { const int high = u8(); return (high << 8) | u8(); };
    auto f32 = [&]() {
        quint32 bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = (bits << 8) | u8();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    const int nameLength = qint8(u8());
    at += qMax(nameLength, 0) + 9; // name, date, number
    QList<SentReading> readings;
    while (p.size() - at >= 18) {
        SentReading r;
        if (pon)
            u8(); // type
        r.wavelength = u16();
        r.power = f32();
        r.unit = u8();
        r.watt = f32();
        u8(); // watt unit
        r.reference = f32();
        if (pon)
            u8(); // verdict
        else
            u16(); // frequency
        readings << r;
    }
    return readings;
}

// The shown text stands for this value, rounded to the text's decimals.
bool shows(const QString &text, float value)
{
    bool ok = false;
    const double shown = text.toDouble(&ok);
    if (!ok)
        return false;
    const int dot = text.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : text.size() - dot - 1;
    return std::abs(shown - double(value)) <= 0.5 * std::pow(10.0, -decimals) + 1e-4;
}

// Empty when the shown reading is the one sent, otherwise what differs.
QString differs(const SentReading &sent, const QString &wavelength, const QString &power, const QString &watt,
                const QString &reference)
{
    const bool outOfRange = sent.power <= ValueFormat::LowLimit || sent.power >= ValueFormat::HighLimit;
    const bool relative = sent.unit == ValueFormat::RelativeUnitCode;
    const QString absent = ValueFormat::absentText();
    if (wavelength != QString::number(sent.wavelength))
        return QStringLiteral("wavelength %1, sent %2").arg(wavelength).arg(sent.wavelength);
    if (outOfRange ? power != (sent.power <= ValueFormat::LowLimit ? "Low" : "High") : !shows(power, sent.power))
        return QStringLiteral("power %1, sent %2").arg(power).arg(double(sent.power));
    if (outOfRange ? watt != absent : !shows(watt, sent.watt))
        return QStringLiteral("watt %1, sent %2").arg(watt).arg(double(sent.watt));
    if (!outOfRange && relative ? !shows(reference, sent.reference) : reference != absent)
        return QStringLiteral("reference %1, sent %2").arg(reference).arg(double(sent.reference));
    return QString();
}

// Compares every reading of every record a page holds with what the
// simulator sent for that record number; empty when all match.
QString readingsDiffer(MainWindow *window, const QString &page, const QString &family)
{
    QWidget *w = window->findChild<QWidget *>(page);
    auto check = [&family](int number, const QList<QStringList> &shown) -> QString {
        const QList<SentReading> sent = sentReadings(family, number);
        if (shown.size() != sent.size())
            return QStringLiteral("record %1: %2 readings, sent %3").arg(number).arg(shown.size()).arg(sent.size());
        for (int i = 0; i < sent.size(); ++i) {
            const QStringList &s = shown.at(i);
            const QString error = differs(sent.at(i), s.at(0), s.at(1), s.at(2), s.at(3));
            if (!error.isEmpty())
                return QStringLiteral("record %1 reading %2: %3").arg(number).arg(i + 1).arg(error);
        }
        return QString();
    };
    auto opm = [](const SingleWaveOpmData &d) { return QStringList{d.wavelength, d.power, d.powerW, d.reference}; };
    QString error;
    auto opmRecords = [&](const auto &items) {
        for (const OpmItemData &record : items) {
            QList<QStringList> shown;
            for (const SingleWaveOpmData &d : record.singleWaveOpmDatas)
                shown << opm(d);
            for (const PartialOpmData &d : record.partialOpmDatas) {
                shown << opm(d.wave1);
                if (d.waveCount > 1)
                    shown << opm(d.wave2);
            }
            if (error.isEmpty())
                error = check(record.number.toInt(), shown);
        }
    };
    auto ponRecords = [&](const auto &items) {
        for (const PonOpmItemData &record : items) {
            QList<QStringList> shown;
            for (const PowerInfo &d : record.powerInfos)
                shown << QStringList{d.wavelength, d.power, d.powerW, d.reference};
            if (error.isEmpty())
                error = check(record.number.toInt(), shown);
        }
    };
    if (auto *p = qobject_cast<OpmForm *>(w))
        opmRecords(p->items.allItems());
    else if (auto *p = qobject_cast<MultiWaveOpmForm *>(w))
        opmRecords(p->items.allItems());
    else if (auto *p = qobject_cast<PartialOpmForm *>(w))
        opmRecords(p->items.allItems());
    else if (auto *p = qobject_cast<PonOpmForm *>(w))
        ponRecords(p->items.allItems());
    else if (auto *p = qobject_cast<XGPonForm *>(w))
        ponRecords(p->items.allItems());
    return error;
}

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;
    QTemporaryDir reports;

    bool connectTo(const QStringList &args)
    {
        if (!sim.start(args))
            return false;
        testsupport::setSerialPorts({sim.linkPath()});
        return connectWindow(window.get());
    }

    void startDownload(const char *pageButton)
    {
        button(window.get(), pageButton)->click();
        button(window.get(), "downloadBtn")->click();
    }

    bool waitForFrames(int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (RequestLedger::instance()->inFlightCount() > 0 && clock.elapsed() < timeoutMs)
            QTest::qWait(10);
        return RequestLedger::instance()->inFlightCount() == 0;
    }

private slots:
    void initTestCase()
    {
        prepareProcess();
        QVERIFY(reports.isValid());
        MainWindow::setDirectoryChooser([this]() { return reports.path(); });
    }

    void cleanupTestCase() { MainWindow::setDirectoryChooser(nullptr); }

    void init()
    {
        window = std::make_unique<MainWindow>();
        window->show();
    }

    void cleanup()
    {
        QVERIFY(waitForFrames());
        if (window && isConnected(window.get()) && !window->isImporting())
            button(window.get(), "connectBtn")->click();
        window.reset();
        sim.stop();
        QTest::qWait(50);
    }

    void everyRecordArrivesOnceInOrder_data()
    {
        QTest::addColumn<QStringList>("meter");
        QTest::addColumn<QString>("pageButton");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("command");

        QTest::newRow("single-wave") << QStringList{"--kind", "5"} << "opmBtn" << "opmTable" << "06";
        QTest::newRow("multi-wave") << QStringList{"--kind", "5"} << "multiWaveOpmBtn" << "multiWaveOpmTable" << "07";
        QTest::newRow("partial-wave") << QStringList{"--kind", "9"} << "partialOpmBtn" << "PartialOpmWaveTable"
                                      << "07";
        QTest::newRow("PON") << QStringList{"--kind", "1", "--range", "0"} << "ponOpmBtn" << "ponOpmTable" << "09";
        QTest::newRow("XG-PON") << QStringList{"--kind", "3", "--range", "0"} << "xgPonBtn" << "xGPonTable" << "0A";
    }

    void everyRecordArrivesOnceInOrder()
    {
        QFETCH(QStringList, meter);
        QFETCH(QString, pageButton);
        QFETCH(QString, page);
        QFETCH(QString, command);
        const QStringList faults{"--records", "250",    "--busy",  "2@5",  "--not-ready", "1@17",
                                 "--bad-checksum", "1@33", "--junk", "1@40", "--need-reinit", "1@60",
                                 "--bad-checksum", "1@count"};
        QVERIFY(connectTo(meter + faults));

        auto *progress = widget<QProgressBar>(window.get(), "progressBar");
        QSignalSpy progressValues(progress, &QProgressBar::valueChanged);
        int largestMaximum = 0;
        QObject watching; // ends the watch with this function, before largestMaximum goes
        connect(progress, &QProgressBar::valueChanged, &watching,
                [&largestMaximum, progress]() { largestMaximum = qMax(largestMaximum, progress->maximum()); });

        startDownload(pageButton.toLatin1().constData());
        QVERIFY(window->isImporting());
        QVERIFY(!button(window.get(), "saveBtn")->isEnabled());
        QVERIFY(!button(window.get(), "menuBtn")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 30000);

        QStringList numbers, names;
        storedRecords(window.get(), page, &numbers, &names);
        QCOMPARE(numbers, oneTo(250));
        // Every reading of every record is the one the meter sent.
        const QString differing = readingsDiffer(window.get(), page, page == "PartialOpmWaveTable" ? "07p" : command);
        QVERIFY2(differing.isEmpty(), qPrintable(differing));

        // The meter was asked for 1..251 (251 answers "no more"), in order;
        // a number comes twice only right after a refused or spoiled answer.
        const QList<int> asked = requestedRecords(sim, command);
        QVERIFY(isNonDecreasing(asked));
        QCOMPARE(asked.first(), 1);
        QCOMPARE(asked.last(), 251);
        QCOMPARE(asked.size(), 251 + 2 + 1 + 1 + 1 + 1);

        // The progress bar had the count as its maximum and only moved forward.
        QCOMPARE(largestMaximum, 250);
        int previous = 0;
        for (const auto &args : progressValues) {
            const int value = args.at(0).toInt();
            QVERIFY(value >= previous || value == 0);
            previous = value;
        }
        QVERIFY(previous >= 249);
        QVERIFY(!progress->isVisible());
        QVERIFY(!button(window.get(), "downloadBtn")->isChecked());
        QVERIFY(button(window.get(), "saveBtn")->isEnabled());
        QVERIFY(button(window.get(), "menuBtn")->isEnabled());

        // Saving writes one report holding the same records.
        QDir dir(reports.path());
        for (const QString &old : dir.entryList({"*.xlsx"}))
            dir.remove(old);
        QString message;
        answerMessage("yesBtn", &message);
        button(window.get(), "saveBtn")->click();
        QTRY_VERIFY(!message.isEmpty());
        QCOMPARE(message, QCoreApplication::translate(page == "opmTable" ? "OpmForm"
                                                      : page == "multiWaveOpmTable"   ? "MultiWaveOpmForm"
                                                      : page == "PartialOpmWaveTable" ? "PartialOpmForm"
                                                      : page == "ponOpmTable"         ? "PonOpmForm"
                                                                                      : "XGPonForm",
                                                      "Report exported"));
        const QStringList files = dir.entryList({"*.xlsx"});
        QCOMPARE(files.size(), 1);
        QStringList reportNumbers, reportNames;
        QString error;
        QVERIFY2(readReport(dir.filePath(files.first()), &reportNumbers, &reportNames, &error), qPrintable(error));
        QCOMPARE(reportNumbers, numbers);
        QCOMPARE(reportNames, names);
        QVERIFY(!window->hasUnsavedData());
    }

    void stopQuestionNoGoesOnYesEnds()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "2000", "--trickle", "19200@records"}));
        startDownload("opmBtn");
        QTRY_VERIFY(storedCount(window.get(), "opmTable") >= 3);

        // While the download runs the connect button and the other pages are
        // refused.
        button(window.get(), "connectBtn")->click();
        QVERIFY(window->isImporting());
        QVERIFY(isConnected(window.get()));
        QString refusal;
        answerMessage("yesBtn", &refusal);
        button(window.get(), "multiWaveOpmBtn")->click();
        QCOMPARE(refusal, MainWindow::tr("Can not switch tab when it's importing datas"));
        QCOMPARE(window->currentPageType(), 1);
        QVERIFY(!button(window.get(), "multiWaveOpmBtn")->isChecked());
        QVERIFY(widget(window.get(), "opmTable")->isVisible());

        QString asked;
        answerMessage("noBtn", &asked);
        button(window.get(), "downloadBtn")->click();
        QCOMPARE(asked, MainWindow::tr("Whether to stop importing datas?"));
        QVERIFY(window->isImporting());
        QVERIFY(button(window.get(), "downloadBtn")->isChecked());
        const int before = storedCount(window.get(), "opmTable");
        QTRY_VERIFY(storedCount(window.get(), "opmTable") >= before + 3);

        answerMessage("yesBtn");
        button(window.get(), "downloadBtn")->click();
        QVERIFY(!window->isImporting());
        QVERIFY(!button(window.get(), "downloadBtn")->isChecked());
        QVERIFY(waitForFrames());
        const int stored = storedCount(window.get(), "opmTable");
        QTest::qWait(300);
        QCOMPARE(storedCount(window.get(), "opmTable"), stored);
        QStringList numbers, names;
        storedRecords(window.get(), "opmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(stored));
        const QList<int> requested = requestedRecords(sim, "06");
        QVERIFY(isNonDecreasing(requested));
        QVERIFY(requested.last() <= stored + 1);
    }

    // The answer in flight when the user stops is trickling in slowly: the
    // frame it is written into must stay alive, and nothing of it is stored.
    void stopInTheMiddleOfASlowExchange()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "50", "--trickle", "1200@2-50"}));
        startDownload("opmBtn");
        QTRY_VERIFY(requestedRecords(sim, "06").contains(2));
        QTest::qWait(60);
        answerMessage("yesBtn");
        button(window.get(), "downloadBtn")->click();
        QVERIFY(!window->isImporting());
        QVERIFY(waitForFrames());
        QTest::qWait(100);
        QCOMPARE(storedCount(window.get(), "opmTable"), 1);

        // A new download (after declining to save the first) starts cleanly
        // from record 1.
        answerMessage("noBtn");
        button(window.get(), "downloadBtn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(storedCount(window.get(), "opmTable") >= 2, 5000);
        answerMessage("yesBtn");
        button(window.get(), "downloadBtn")->click();
        QVERIFY(waitForFrames());
        QStringList numbers, names;
        storedRecords(window.get(), "opmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(numbers.size()));
    }

    void unplugInTheMiddleOfASlowExchange()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "50", "--trickle", "1200@3-50"}));
        startDownload("opmBtn");
        QTRY_VERIFY(requestedRecords(sim, "06").contains(3));
        QTest::qWait(60);
        sim.killNow();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(!isConnected(window.get()), 1000);
        QVERIFY(waitForFrames());
        QCOMPARE(storedCount(window.get(), "opmTable"), 2);
    }

    // A record asked for again outside any download (here record 9 of 8,
    // answered slowly with "no further record"): a download started while
    // that answer is on its way must not take it as its own: it would end at
    // once with nothing.
    void leftoverRecordAnswerDoesNotEndANewDownload()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "8", "--trickle", "300@9"}));
        startDownload("opmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 10000);
        QCOMPARE(storedCount(window.get(), "opmTable"), 8);

        auto *page = window->findChild<OpmForm *>(QStringLiteral("opmTable"));
        QVERIFY(page);
        QVERIFY(waitForFrames());
        window->importthisDatas();
        QVERIFY(RequestLedger::instance()->isInFlight(page->frame()));

        answerMessage("noBtn");
        button(window.get(), "downloadBtn")->click();
        QVERIFY(window->isImporting());
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 10000);
        QStringList numbers, names;
        storedRecords(window.get(), "opmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(8));
    }

    // A garbled answer to the clock command, with no download running, asks
    // the meter for nothing more; the next download's records hold exactly
    // the readings sent (a leftover record would double record 1's).
    void garbledClockAnswerAsksForNoRecord()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "6", "--bad-checksum", "1@clock"}));
        button(window.get(), "multiWaveOpmBtn")->click();
        const int before = sim.logLines().size();
        window->syncDateTime();
        // The three identity requests and the clock command.
        QTRY_VERIFY_WITH_TIMEOUT(sim.logLines().size() >= before + 4, 5000);
        QVERIFY(waitForFrames());
        QVERIFY(testsupport::noModalFor(700));
        QCOMPARE(requestCount(sim, "07"), 0);
        QCOMPARE(sim.logLines().size(), before + 4);

        button(window.get(), "downloadBtn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 10000);
        QStringList numbers, names;
        storedRecords(window.get(), "multiWaveOpmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(6));
        const QString differing = readingsDiffer(window.get(), "multiWaveOpmTable", "07");
        QVERIFY2(differing.isEmpty(), qPrintable(differing));
    }

    // A need-reinit answer to the count request: after the port is back the
    // count is asked for again, so the download has its progress bar.
    void needReinitOnTheCountAsksForTheCountAgain()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "5", "--need-reinit", "1@count"}));
        auto *progress = widget<QProgressBar>(window.get(), "progressBar");
        int largestMaximum = 0;
        QObject watching; // ends the watch with this function, before largestMaximum goes
        connect(progress, &QProgressBar::valueChanged, &watching,
                [&largestMaximum, progress]() { largestMaximum = qMax(largestMaximum, progress->maximum()); });
        startDownload("opmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 10000);
        QCOMPARE(requestCount(sim, "0E"), 2);
        QCOMPARE(largestMaximum, 5);
        QStringList numbers, names;
        storedRecords(window.get(), "opmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(5));
    }

    // The meter is unplugged while the "not saved" question is open: once
    // answered, the download or the page change is dropped, and the window
    // is free to connect again.
    void unplugWhileTheSaveQuestionIsOpen_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("download") << "downloadBtn";
        QTest::newRow("page switch") << "multiWaveOpmBtn";
    }

    void unplugWhileTheSaveQuestionIsOpen()
    {
        QFETCH(QString, action);
        QVERIFY(connectTo({"--kind", "5", "--records", "3"}));
        startDownload("opmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 10000);
        QVERIFY(window->hasUnsavedData());
        QVERIFY(waitForFrames());

        MainWindow *w = window.get();
        bool gone = false;
        onNextModal("MessageDialog", [this, w, &gone](QWidget *question) {
            sim.killNow();
            QElapsedTimer clock;
            clock.start();
            while (isConnected(w) && clock.elapsed() < 5000)
                QTest::qWait(10);
            gone = !isConnected(w);
            clickButton(question, QStringLiteral("noBtn"));
        });
        button(window.get(), action.toLatin1().constData())->click();
        QVERIFY(gone);
        QVERIFY(testsupport::noModalFor(200));
        QVERIFY(!window->isImporting());
        QVERIFY(!button(window.get(), "downloadBtn")->isChecked());
        QVERIFY(!button(window.get(), "multiWaveOpmBtn")->isChecked());
        QVERIFY(!widget(window.get(), "multiWaveOpmTable")->isVisible());
        QVERIFY(button(window.get(), "connectBtn")->isEnabled());
        QVERIFY(waitForFrames());
    }

    // The window goes away (as on a language restart) while an answer is
    // still being written into one of its pages' frames.
    void windowDestroyedInTheMiddleOfASlowExchange()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "50", "--trickle", "1200@2-50"}));
        startDownload("opmBtn");
        QTRY_VERIFY(requestedRecords(sim, "06").contains(2));
        QTest::qWait(60);
        QVERIFY(RequestLedger::instance()->inFlightCount() > 0);
        window.reset();
        QVERIFY(waitForFrames());

        window = std::make_unique<MainWindow>();
        QVERIFY(connectWindow(window.get()));
    }

    void unplugDuringADownload()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "250", "--unplug-after", "60"}));
        startDownload("multiWaveOpmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(sim.logLines().size() >= 60, 10000);
        QElapsedTimer sinceUnplug;
        sinceUnplug.start();
        QTRY_VERIFY_WITH_TIMEOUT(!isConnected(window.get()), 2000);
        QVERIFY2(sinceUnplug.elapsed() < 1000, qPrintable(QString::number(sinceUnplug.elapsed())));
        QVERIFY(!window->isImporting());
        QVERIFY(button(window.get(), "connectBtn")->isEnabled());
        QVERIFY(!button(window.get(), "multiWaveOpmBtn")->isEnabled());
        QVERIFY(button(window.get(), "menuBtn")->isEnabled());

        // What arrived stays.
        const int stored = storedCount(window.get(), "multiWaveOpmTable");
        QVERIFY(stored > 10);
        QStringList numbers, names;
        storedRecords(window.get(), "multiWaveOpmTable", &numbers, &names);
        QCOMPARE(numbers, oneTo(stored));
        QVERIFY(widget(window.get(), "multiWaveOpmTable")->isVisible());

        // And another meter can be connected.
        QVERIFY(waitForFrames());
        QVERIFY(connectTo({"--kind", "6"}));
        QVERIFY(button(window.get(), "opmBtn")->isEnabled());
    }

    void savePromptBeforeANewDownload()
    {
        QVERIFY(connectTo({"--kind", "6", "--records", "20"}));
        startDownload("opmBtn");
        QTRY_VERIFY(!window->isImporting());
        QVERIFY(window->hasUnsavedData());

        // A second download offers to save the first; "No" discards it.
        QString asked;
        answerMessage("noBtn", &asked);
        button(window.get(), "downloadBtn")->click();
        QCOMPARE(asked, MainWindow::tr("Data has not been saved.\nDo you want to save the data first?"));
        QTRY_VERIFY(!window->isImporting());

        // Closing the window with unsaved data offers the same, and "Yes"
        // saves through the directory dialog.
        QDir dir(reports.path());
        for (const QString &old : dir.entryList({"*.xlsx"}))
            dir.remove(old);
        QVERIFY(window->hasUnsavedData());
        QString exported;
        onNextModal("MessageDialog", [&asked, &exported](QWidget *prompt) {
            asked = prompt->findChild<QLabel *>(QStringLiteral("msgLabel"))->text();
            // "Report exported" follows once the prompt has closed.
            answerMessage("yesBtn", &exported);
            clickButton(prompt, QStringLiteral("yesBtn"));
        });
        window->close();
        QTRY_VERIFY(!exported.isEmpty());
        QCOMPARE(dir.entryList({"*.xlsx"}).size(), 1);
        QVERIFY(!window->hasUnsavedData());
    }

    // Answers that begin and then stop short: records 5 and 12 are cut three
    // times, more than one exchange asks for them, so the window asks again.
    // The download still ends, and its records equal those of a second,
    // clean download (the cuts are used up by then).
    void answersCutShortAreAskedForAgain()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "20", "--truncate", "4:3@5,12"}));
        auto readings = [this]() {
            QStringList out;
            auto *page = window->findChild<MultiWaveOpmForm *>(QStringLiteral("multiWaveOpmTable"));
            for (const OpmItemData &record : page->items.allItems()) {
                QStringList waves;
                for (const SingleWaveOpmData &wave : record.singleWaveOpmDatas)
                    waves << QStringList{wave.wavelength, wave.power, wave.reference, wave.powerW}.join(',');
                out << record.number + '|' + record.name + '|' + record.time + '|' + waves.join(';');
            }
            return out;
        };
        startDownload("multiWaveOpmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 30000);
        QVERIFY(!button(window.get(), "downloadBtn")->isChecked());
        const QStringList cut = readings();
        QCOMPARE(cut.size(), 20);
        const QList<int> asked = requestedRecords(sim, "07");
        QCOMPARE(asked.count(5), 4);
        QCOMPARE(asked.count(12), 4);

        QVERIFY(waitForFrames());
        answerMessage("noBtn");
        button(window.get(), "downloadBtn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 30000);
        QCOMPARE(requestedRecords(sim, "07").size(), asked.size() + 21);
        QCOMPARE(cut, readings());
    }

    // The measurement history holds every record of a download, with the
    // readings the page shows, in a session of the meter's identity.
    void historyHoldsWhatThePageShows()
    {
        QVERIFY(connectTo({"--kind", "5", "--records", "15"}));
        startDownload("multiWaveOpmBtn");
        QTRY_VERIFY_WITH_TIMEOUT(!window->isImporting(), 30000);
        QStringList shown;
        auto *page = window->findChild<MultiWaveOpmForm *>(QStringLiteral("multiWaveOpmTable"));
        for (const OpmItemData &record : page->items.allItems()) {
            QStringList waves;
            for (const SingleWaveOpmData &w : record.singleWaveOpmDatas)
                waves << QStringList{w.wavelength, w.power, w.reference, w.powerW + w.powerWUnit}.join(',');
            shown << record.number + '|' + record.name + '|' + record.time + '|' + waves.join(';');
        }
        QCOMPARE(shown.size(), 15);
        // The window does not wait for the end of the session to reach the file.
        QVERIFY(window->findChild<HistoryStore *>()->flush());

        QStringList stored;
        int meterKind = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("e2e-history"));
            db.setDatabaseName(qEnvironmentVariable("LUMISK_HISTORY_DB"));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral(
                "SELECT record_number, name, time_text, wavelength, power_text, reference, watt, meter_kind"
                " FROM session_measurements WHERE session_id = (SELECT MAX(id) FROM sessions WHERE kind = 'multi')"
                " ORDER BY record_number, reading_index")));
            QString number;
            QStringList waves;
            QString head;
            while (query.next()) {
                if (query.value(0).toString() != number && !number.isEmpty()) {
                    stored << head + '|' + waves.join(';');
                    waves.clear();
                }
                number = query.value(0).toString();
                head = QStringList{number, query.value(1).toString(), query.value(2).toString()}.join('|');
                waves << QStringList{query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                                     query.value(6).toString()}
                             .join(',');
                meterKind = query.value(7).toInt();
            }
            if (!number.isEmpty())
                stored << head + '|' + waves.join(';');
        }
        QSqlDatabase::removeDatabase(QStringLiteral("e2e-history"));
        QCOMPARE(stored, shown);
        QCOMPARE(meterKind, 5);
    }
};

LUMISK_TEST(TestDownload)
#include "tst_download.moc"
