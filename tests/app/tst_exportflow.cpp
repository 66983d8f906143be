// CSV exports of each kind read back with Python's csv module (the columns
// a kind adds, the class check and the loss), and the export as the user
// starts it: nothing to export, an unusable folder, the file name.

#include "app/exportflow.h"
#include "app/saveflow.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

History::Record record(const QString &family, const QList<History::Reading> &readings)
{
    History::Record r;
    r.family = family;
    r.number = QStringLiteral("7");
    r.name = QStringLiteral("机房, \"A\""); // a comma and quotes: quoted on the way out
    r.time = QStringLiteral("24/05/01 08:30");
    r.readings = readings;
    return r;
}

PonClassCheck gponBPlus(const QString &dir)
{
    QSettings settings(dir + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("ponClass/gpon"), QStringLiteral("gpon-bplus"));
    return PonClassCheck::fromSettings(settings, PonClassCheck::Technology::Gpon);
}

RealTimeOpmValue live(const QString &wavelength, float power)
{
    RealTimeOpmValue value;
    value.wavelength = wavelength;
    value.power = QString::number(double(power), 'f', 2);
    value.powerUnit = QStringLiteral("dBm");
    value.powerValue = power;
    return value;
}

} // namespace

class TestExportFlow : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    // The rows of a CSV file, header first; empty when Python could not read it.
    QList<QStringList> readBack(const QString &path)
    {
        QString output;
        if (testsupport::runPython(QStringLiteral("cli/read_csv.py"), {path}, &output) != 0)
            return {};
        const QJsonObject file = QJsonDocument::fromJson(output.toUtf8()).object();
        if (!file.value(QStringLiteral("bom")).toBool())
            return {};
        QList<QStringList> rows;
        for (const auto &row : file.value(QStringLiteral("rows")).toArray()) {
            QStringList fields;
            for (const auto &field : row.toArray())
                fields << field.toString();
            rows << fields;
        }
        return rows;
    }

private slots:
    void cleanupTestCase() { SaveFlow::setDirectoryChooser(nullptr); }

    // Each kind's columns after the standard ones, and the fields of each
    // reading in them (checked by column name).
    void csvColumns_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("extra");
        // column=value of each data row, '|' between the checks of one row
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("single") << "single" << QStringList{}
                                << QStringList{"name=机房, \"A\"|power=-12.34|watt_w=5.89e-05|frequency_hz=270|"
                                               "time=2024-05-01T08:30:00+02:00|verdict=pass"};
        QTest::newRow("partial") << "partial" << QStringList{}
                                 << QStringList{"power=-12.34|verdict=pass", "power=-30|verdict=fail"};
        QTest::newRow("PON with class")
            << "pon" << QStringList{"class", "class_verdict", "class_margin_db"}
            << QStringList{"wavelength_nm=1490|class=GPON B+|class_verdict=within|class_margin_db=2.00",
                           "power=-27.01|class_verdict=below sensitivity|class_margin_db=-0.01",
                           "power_text=-26.00|class_verdict=warning|class_margin_db=1.00",
                           "power_text=High|class_verdict=above launch range|class_margin_db=",
                           "unit=dB|class_verdict=|class_margin_db="};
        QTest::newRow("XG-PON without class")
            << "xgpon" << QStringList{"class", "class_verdict", "class_margin_db"}
            << QStringList{"power=-12.34|class=|class_verdict="};
        QTest::newRow("live") << "live" << QStringList{}
                              << QStringList{"power=-10|power_text=-10.00|time=2024-05-01T08:30:00.000+02:00",
                                             "power=-12.5|time=2024-05-01T08:30:00.500+02:00", "power=-3"};
        QTest::newRow("live with reference")
            << "live+ref" << QStringList{"pc_reference_dbm", "loss_db"}
            << QStringList{"wavelength_nm=1310|pc_reference_dbm=-12.50|loss_db=-2.50",
                           "power=-12.5|loss_db=0.00",
                           "wavelength_nm=1550|pc_reference_dbm=|loss_db="};
    }
    void csvColumns()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, extra);
        QFETCH(QStringList, rows);
        qputenv("TZ", "Europe/Berlin"); // May: UTC+02:00

        ExportContent content;
        content.kind = kind.section(QLatin1Char('+'), 0, 0);
        const History::Reading passing{"1310", "-12.34", "dBm", "", "58.9uW", "270Hz", 0};
        if (content.kind == QLatin1String("single")) {
            content.records << record("single", {passing});
        } else if (content.kind == QLatin1String("partial")) {
            content.records << record("partial", {passing, {"1550", "-30.00", "dBm", "", "1nW", "", 2}});
        } else if (content.kind == QLatin1String("pon")) {
            content.classCheck = gponBPlus(dir.path());
            content.records << record("pon", {{"1490", "-25.00", "dBm", "", "", "", 0},
                                               {"1490", "-27.01", "dBm", "", "", "", 0},
                                               {"1490", "-26.00", "dBm", "", "", "", 0},
                                               {"1310", "High", "dBm", "", "", "", 2},
                                               {"1490", "-3.00", "dB", "-20.00", "", "", 0}});
        } else if (content.kind == QLatin1String("xgpon")) {
            content.records << record("xgpon", {passing});
        } else {
            const QDateTime start(QDate(2024, 5, 1), QTime(8, 30));
            content.arrivals << start << start.addMSecs(500) << start.addSecs(1);
            content.readings << live("1310", -10.0f) << live("1310", -12.5f) << live("1550", -3.0f);
            content.reference.noteReading("1310", -12.5);
            if (kind.endsWith(QLatin1String("+ref")))
                content.reference.set();
        }
        QCOMPARE(ExportFiles::extraHeader(content), extra);

        const QString path = dir.filePath(kind + QStringLiteral(".csv"));
        QVERIFY(ExportFiles::writeCsv(path, content));
        const QList<QStringList> read = readBack(path);
        QCOMPARE(read.size(), rows.size() + 1);
        const QStringList header = read.first();
        QCOMPARE(header.mid(header.size() - extra.size()), extra);
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(read.at(i + 1).size(), header.size());
            for (const QString &check : rows.at(i).split(QLatin1Char('|'))) {
                const int column = header.indexOf(check.section(QLatin1Char('='), 0, 0));
                QVERIFY2(column >= 0, qPrintable(check));
                QCOMPARE(read.at(i + 1).at(column), check.section(QLatin1Char('='), 1));
            }
        }
        qunsetenv("TZ");
    }

    // The export as the user starts it: what it says, and what it leaves in the folder.
    void exportRun_data()
    {
        QTest::addColumn<bool>("withData");
        QTest::addColumn<QString>("folder"); // below the temporary folder
        QTest::addColumn<bool>("folderAsked");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("files");
        QTest::newRow("written") << true << "out" << true << "Report exported" << 1;
        QTest::newRow("nothing to export") << false << "out" << false << "Save Fail,No Data!" << 0;
        // A plain file where the folder should be: even root cannot write there.
        QTest::newRow("folder is a file") << true << "file" << true << "Failed to export report" << 0;
        QTest::newRow("folder missing") << true << "gone" << true << "Failed to export report" << 0;
        QTest::newRow("cancelled") << true << "" << true << "" << 0;
    }
    void exportRun()
    {
        QFETCH(bool, withData);
        QFETCH(QString, folder);
        QFETCH(bool, folderAsked);
        QFETCH(QString, message);
        QFETCH(int, files);
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkdir(QStringLiteral("out")));
        QFile plain(base.filePath(QStringLiteral("file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        bool asked = false;
        const QString chosen = folder.isEmpty() ? QString() : base.filePath(folder);
        SaveFlow::setDirectoryChooser([&]() {
            asked = true;
            return chosen;
        });
        ExportContent content;
        content.kind = QStringLiteral("multi");
        if (withData)
            content.records << record("multi", {{"1310", "-12.34", "dBm", "", "", "", -1}});

        QString said;
        if (!message.isEmpty())
            testsupport::answerMessage(QStringLiteral("yesBtn"), &said);
        ExportFlow::run(content, ExportFiles::Format::Csv);
        if (!message.isEmpty())
            QTRY_COMPARE(said, message);
        QCOMPARE(asked, folderAsked);
        // Nothing but the finished file: no temporary file left behind.
        QDir out(base.filePath(QStringLiteral("out")));
        const QStringList written = out.entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(written.size(), files);
        if (files == 1)
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d-Multi\\.csv$"))
                         .match(written.first())
                         .hasMatch(),
                     qPrintable(written.first()));
        QCOMPARE(QDir(base.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"file"});
    }
};

LUMISK_TEST(TestExportFlow)
#include "tst_exportflow.moc"
