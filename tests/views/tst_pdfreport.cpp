// PDF reports read back with poppler's pdfinfo, pdftotext and pdffonts: the
// page count against "page n of N" and the table header on every page, the
// header and summary texts, every record on some page, and a Chinese run
// whose glyphs come out as text (so the face is embedded and mapped). Qt
// maps a glyph back to its lowest code point, so 长 comes back as the
// radical ⻓ that shares its glyph: the Chinese title is checked up to it.

#include "testregistry.h"
#include "views/pdfreport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestPdfReport : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void report_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("count");     // records, or readings of a live run
        QTest::addColumn<QString>("name");  // record names: name + number
        QTest::addColumn<bool>("chinese");  // the window's Chinese translation installed
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("one record") << "single" << 1 << "Fiber " << false << 1 << 1
                                    << QStringList{"Meter: LM-OPM500 V2.1.07 (kind 5)", "Technician: Wang",
                                                   "Downloaded: 2024-05-01 08:30:00", "Records: 1",
                                                   "Pass: 1 Warning: 0 Fail: 0",
                                                   "1310 nm: minimum -12.34 dBm, maximum -12.34 dBm"};
        QTest::newRow("PON over pages") << "pon" << 120 << "Rack " << false << 3 << 8
                                        << QStringList{"Class GPON B+: 119 within, 1 warning,", "Class check", "Rack 120"};
        QTest::newRow("live with curve") << "live" << 300 << "" << false << 5 << 12
                                         << QStringList{"Sampled: 2024-05-01 08:30:00", "Readings: 300",
                                                        "Power over 300 readings", "Loss (dB)", "Reading"};
        QTest::newRow("Chinese") << "multi" << 60 << "机房 " << true << 2 << 4
                                 << QStringList{"多波", "机房 1", "机房 60"};
    }
    void report()
    {
        QFETCH(QString, kind);
        QFETCH(int, count);
        QFETCH(QString, name);
        QFETCH(bool, chinese);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        QFETCH(QStringList, texts);

        QTranslator translator;
        if (chinese) {
            QVERIFY(translator.load(QStringLiteral(LUMISK_BUILD_DIR "/language/language_zh.qm")));
            QCoreApplication::installTranslator(&translator);
        }
        ExportContent content;
        content.kind = kind;
        content.meter.meterModel = QStringLiteral("LM-OPM500");
        content.meter.meterVersion = QStringLiteral("V2.1.07");
        content.meter.meterKind = 5;
        content.meter.technician = QStringLiteral("Wang");
        content.taken = QDateTime(QDate(2024, 5, 1), QTime(8, 30));
        if (content.isLive()) {
            for (int i = 0; i < count; ++i) {
                RealTimeOpmValue value;
                value.wavelength = QStringLiteral("1310");
                value.powerValue = float(-10.0 - (i % 7) * 0.5);
                value.power = QString::number(double(value.powerValue), 'f', 2);
                value.powerUnit = QStringLiteral("dBm");
                content.readings << value;
                content.arrivals << content.taken.addMSecs(500 * i);
                content.reference.noteReading(value.wavelength, double(value.powerValue));
            }
            content.reference.set();
        } else {
            if (content.isPon()) {
                QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
                settings.setValue(QStringLiteral("ponClass/gpon"), QStringLiteral("gpon-bplus"));
                content.classCheck = PonClassCheck::fromSettings(settings, PonClassCheck::Technology::Gpon);
            }
            for (int i = 1; i <= count; ++i) {
                History::Record record;
                record.family = kind;
                record.number = QString::number(i);
                record.name = name + QString::number(i);
                record.time = QStringLiteral("24/05/01 08:30");
                const QString nm = content.isPon() ? QStringLiteral("1490") : QStringLiteral("1310");
                // The last record lies 1 dB inside the overload: a warning.
                const QString power = i == count && content.isPon() ? QStringLiteral("-9.00")
                                                                    : QStringLiteral("-12.34");
                record.readings << History::Reading{nm, power, "dBm", "", "58.9uW", "", 0};
                content.records << record;
            }
        }
        const QString path = dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        const bool written = PdfReport::write(path, content);
        if (chinese)
            QCoreApplication::removeTranslator(&translator);
        QVERIFY(written);

        const QRegularExpressionMatch pagesLine
            = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {path}));
        QVERIFY(pagesLine.hasMatch());
        const int pages = pagesLine.captured(1).toInt();
        QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));

        // Collapsed blanks: pdftotext spaces words as the layout puts them.
        QString text = run("pdftotext", {"-enc", "UTF-8", path, "-"});
        text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
        for (int p = 1; p <= pages; ++p) {
            const QString footer = chinese ? QString() : QStringLiteral("page %1 of %2").arg(p).arg(pages);
            if (!footer.isEmpty())
                QVERIFY2(text.contains(footer), qPrintable(footer));
        }
        // The table header on every page (pdftotext ends each page with a form feed).
        const QString heading = content.isLive() ? QStringLiteral("Time") : QStringLiteral("No.");
        const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        int withHeading = 0;
        for (const QString &pageText : pageTexts)
            withHeading += pageText.contains(heading) ? 1 : 0;
        if (!chinese)
            QCOMPARE(withHeading, pages);

        // Every face used is embedded.
        const QStringList fonts = run("pdffonts", {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QVERIFY2(font.contains(QRegularExpression(QStringLiteral("\\byes\\b"))), qPrintable(font));
    }

    void unwritableFolder()
    {
        ExportContent content;
        content.kind = QStringLiteral("single");
        content.records << History::Record{};
        QVERIFY(!PdfReport::write(dir.filePath(QStringLiteral("missing/report.pdf")), content));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing/report.pdf"))));
    }
};

LUMISK_TEST(TestPdfReport)
#include "tst_pdfreport.moc"
