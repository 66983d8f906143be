// The six report layouts, written from records built here and read back
// through openpyxl: sheet, headers, values and their types, fills, borders,
// alignment, merges and file names.

#include "testregistry.h"
#include "workbookdump.h"

#include "report/opmxlsx.h"
#include "report/partialopmxlsx.h"
#include "report/ponxlsx.h"
#include "report/realtimexlsx.h"
#include "report/xgponxlsx.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kGreen = QStringLiteral("00C800");
const QString kYellow = QStringLiteral("C8C800");
const QString kRed = QStringLiteral("C80000");
const QString kWhite = QStringLiteral("FFFFFF");

SingleWaveOpmData wave(const QString &wavelength, const QString &power, const QString &reference = QStringLiteral("---"))
{
    SingleWaveOpmData w;
    w.wavelength = wavelength;
    w.power = power;
    w.reference = reference;
    w.powerW = QStringLiteral("1.23");
    w.frequency = QStringLiteral("270");
    w.powerUnit = QStringLiteral("dBm");
    w.powerWUnit = QStringLiteral("uW");
    return w;
}

OpmItemData record(const QString &number, const QString &name = QStringLiteral("Fiber"))
{
    OpmItemData item;
    item.number = number;
    item.name = name;
    item.time = QStringLiteral("2024-05-06 07:08:09");
    return item;
}

OpmItemData partialRecord(const QString &number, int waveCount, int verdict1, int verdict2 = 3)
{
    OpmItemData item = record(number);
    PartialOpmData reading;
    reading.waveCount = waveCount;
    reading.wave1 = wave(QStringLiteral("1310"), QStringLiteral("-10.00"));
    reading.passStatus1 = verdict1;
    reading.wave2 = wave(QStringLiteral("1550"), QStringLiteral("-12.00"));
    reading.passStatus2 = verdict2;
    item.partialOpmDatas << reading;
    return item;
}

PowerInfo power(const QString &wavelength, const QString &value, int verdict, bool showPower = true)
{
    PowerInfo info;
    info.wavelength = wavelength;
    info.power = value;
    info.powerUnit = QStringLiteral("dBm");
    info.powerW = QStringLiteral("5.00");
    info.powerWUnit = QStringLiteral("uW");
    info.reference = QStringLiteral("-3.00");
    info.passStatus = verdict;
    info.showPower = showPower;
    return info;
}

PonOpmItemData ponRecord(const QString &number, const QList<PowerInfo> &infos)
{
    PonOpmItemData item;
    item.number = number;
    item.name = QStringLiteral("ONU");
    item.time = QStringLiteral("2024-05-06 07:08:09");
    item.powerInfos = infos;
    return item;
}

QStringList headerOf(const WorkbookDump &dump, int columns)
{
    QStringList texts;
    for (int c = 0; c < columns; ++c)
        texts << dump.text(QString(QLatin1Char(char('A' + c))) + QLatin1Char('1'));
    return texts;
}

} // namespace

class TestReportWorkbooks : public QObject
{
    Q_OBJECT

private slots:
    void singleWave();
    void multiWaveLevels();
    void partialWaveRows();
    void pon();
    void xgPon();
    void realTime();
    void realTimeSingleSample();
    void failedSaveLeavesNothing_data();
    void failedSaveLeavesNothing();
    void secondSaveInSameSecondReplacesFirst();
};

void TestReportWorkbooks::singleWave()
{
    QTemporaryDir base;
    const QString dirPath = base.path() + QString::fromUtf8("/报告 🔦");
    QVERIFY(QDir().mkpath(dirPath));
    QList<OpmItemData> records;
    OpmItemData first = record(QStringLiteral("1"), QStringLiteral("光纤 A 🔦"));
    first.singleWaveOpmDatas << wave(QStringLiteral("1310"), QStringLiteral("-12.34"), QStringLiteral("-2.00"))
                             << wave(QStringLiteral("1550"), QStringLiteral("-1.00"));
    records << first << record(QStringLiteral("2"));
    QVERIFY(OpmXlsx().saveSingleWave(records, dirPath));

    const QString file = onlyReport(dirPath);
    QVERIFY2(namedLikeReport(file, QStringLiteral("-Single.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheetCount(), 1);
    QCOMPARE(dump.sheet(), QStringLiteral("OPM single wave datas"));
    QCOMPARE(headerOf(dump, 9),
             QStringList({"No.", "Name", "Date time", "Wavelength(nm)", "Power", "REF(dBm)", "Power(W)", "Freqency(Hz)", ""}));
    const QStringList row2{"1", "光纤 A 🔦", "2024-05-06 07:08:09", "1310", "-12.34dBm", "-2.00", "1.23uW", "270"};
    for (int c = 0; c < row2.size(); ++c) {
        const QString name = QString(QLatin1Char(char('A' + c))) + QLatin1Char('2');
        QCOMPARE(dump.text(name), row2.at(c));
        QCOMPARE(dump.type(name), QStringLiteral("str"));
        QVERIFY2(dump.framed(name), qPrintable(name));
        QVERIFY(dump.fill(name).isEmpty());
        QVERIFY(dump.framed(QString(QLatin1Char(char('A' + c))) + QLatin1Char('1')));
    }
    // The second reading is not part of this layout; a record without any
    // reading keeps its value cells empty.
    QVERIFY(!dump.has("I2"));
    QCOMPARE(dump.text("A3"), QStringLiteral("2"));
    for (const char *name : {"D3", "E3", "F3", "G3", "H3"})
        QVERIFY2(!dump.has(name), name);
    QVERIFY(dump.merges().isEmpty());
}

void TestReportWorkbooks::multiWaveLevels()
{
    struct Case {
        const char *power;
        const char *reference;
        const char *powerCell;
        const char *wattCell;
        const char *referenceCell;
    };
    // Each case is the first reading of its own record.
    const Case cases[] = {
        {"-85.00", "---", "Low", "---", "---"},
        {"-3.00", "-5.00", "-3.00dB", "1.23uW", "-5.00"},
        {"-10.00", "---", "-10.00dBm", "1.23uW", "---"},
        {"Low", "---", "Low", "1.23uW", "---"},      // the text stands, sum 0
        {"High", "-5.00", "High", "1.23uW", "-5.00"},
        {"-40.00", "-39.90", "Low", "---", "---"},   // sum -79.9 is already low
        {"-79.80", "---", "-79.80dBm", "1.23uW", "---"},
        {"-79.89", "-0.01", "-79.89dB", "1.23uW", "-0.01"}, // as on the card
        {"50.00", "---", "High", "---", "---"},
        {"49.80", "---", "49.80dBm", "1.23uW", "---"},
        {"abc", "---", "abcdBm", "1.23uW", "---"},   // not a number counts as 0
    };
    QList<OpmItemData> records;
    for (const Case &c : cases) {
        OpmItemData item = record(QString::number(records.size() + 1));
        item.singleWaveOpmDatas << wave(QStringLiteral("1310"), QString::fromLatin1(c.power), QString::fromLatin1(c.reference));
        records << item;
    }
    // A record with six readings runs past the fourth group without headers.
    OpmItemData wide = record(QStringLiteral("wide"));
    for (int j = 0; j < 6; ++j)
        wide.singleWaveOpmDatas << wave(QString::number(1300 + j), QStringLiteral("-7.00"));
    records << wide;

    QTemporaryDir dir;
    QVERIFY(OpmXlsx().saveMultiWave(records, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(namedLikeReport(file, QStringLiteral("-muti.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheet(), QStringLiteral("OPM muti wave datas"));
    QCOMPARE(headerOf(dump, 20),
             QStringList({"No.", "Name", "Date time",
                          "Wavelength(nm)", "Power", "Power(W)", "REF(dBm)",
                          "Wavelength(nm)", "Power", "Power(W)", "REF(dBm)",
                          "Wavelength(nm)", "Power", "Power(W)", "REF(dB)",
                          "Wavelength(nm)", "Power", "Power(W)", "REF(dBm)", ""}));

    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QString row = QString::number(i + 2);
        const Case &c = cases[i];
        QCOMPARE(dump.text("D" + row), QStringLiteral("1310"));
        QCOMPARE(dump.text("E" + row), QString::fromLatin1(c.powerCell));
        QCOMPARE(dump.text("F" + row), QString::fromLatin1(c.wattCell));
        QCOMPARE(dump.text("G" + row), QString::fromLatin1(c.referenceCell));
        QVERIFY(dump.framed("E" + row));
        QVERIFY(!dump.has("H" + row));
    }

    const QString row = QString::number(int(std::size(cases)) + 2);
    QCOMPARE(dump.text("T" + row), QStringLiteral("1304"));
    QCOMPARE(dump.text("U" + row), QStringLiteral("-7.00dBm"));
    QCOMPARE(dump.text("X" + row), QStringLiteral("1305"));
    QCOMPARE(dump.text("AA" + row), QStringLiteral("---"));
    QVERIFY(!dump.has("AB" + row));
    QVERIFY(!dump.has("T1"));
}

void TestReportWorkbooks::partialWaveRows()
{
    QList<OpmItemData> records;
    records << partialRecord(QStringLiteral("1"), 2, 0, 2)   // rows 2 and 3
            << partialRecord(QStringLiteral("2"), 1, 1)      // row 4
            << partialRecord(QStringLiteral("3"), 5, 0)      // row 5 stays empty
            << record(QStringLiteral("4"))                   // row 6: no reading at all
            << partialRecord(QStringLiteral("5"), 1, 3)      // row 7
            << partialRecord(QStringLiteral("6"), 2, 7, 1);  // rows 8 and 9

    QTemporaryDir dir;
    QVERIFY(PartialOpmXlsx().save(records, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(namedLikeReport(file, QStringLiteral("-Single.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheet(), QStringLiteral("OPM single wave datas"));
    QCOMPARE(headerOf(dump, 8),
             QStringList({"No.", "Name", "Date time", "Wavelength(nm)", "Power", "REF(dBm)", "Power(W)", "Freqency(Hz)"}));

    QCOMPARE(dump.merges(), QStringList({"A2:A3", "A8:A9", "B2:B3", "B8:B9", "C2:C3", "C8:C9"}));
    QCOMPARE(dump.text("A2"), QStringLiteral("1"));
    QCOMPARE(dump.text("B2"), QStringLiteral("Fiber"));
    QVERIFY(dump.framed("A2"));
    QCOMPARE(dump.text("D2"), QStringLiteral("1310"));
    QCOMPARE(dump.text("E2"), QStringLiteral("-10.00dBm"));
    QCOMPARE(dump.text("D3"), QStringLiteral("1550"));
    QCOMPARE(dump.text("E3"), QStringLiteral("-12.00dBm"));
    QCOMPARE(dump.text("G3"), QStringLiteral("1.23uW"));
    QCOMPARE(dump.text("H3"), QStringLiteral("270"));
    QCOMPARE(dump.text("A4"), QStringLiteral("2"));
    QCOMPARE(dump.text("D4"), QStringLiteral("1310"));
    QVERIFY(!dump.has("A5") && !dump.has("D5"));
    QVERIFY(!dump.has("A6") && !dump.has("D6"));
    QCOMPARE(dump.text("A7"), QStringLiteral("5"));
    QCOMPARE(dump.text("A8"), QStringLiteral("6"));
    QCOMPARE(dump.text("D9"), QStringLiteral("1550"));

    // Only the wavelength cell carries the verdict colour.
    const QList<QPair<QString, QString>> fills{{"D2", kGreen}, {"D3", kRed}, {"D4", kYellow},
                                               {"D7", kWhite}, {"D8", kWhite}, {"D9", kYellow}};
    for (const auto &f : fills) {
        QCOMPARE(dump.fill(f.first), f.second);
        QVERIFY(dump.framed(f.first));
    }
    for (const char *name : {"A2", "C4", "E2", "F3", "H4"})
        QVERIFY2(dump.fill(name).isEmpty(), name);
}

void TestReportWorkbooks::pon()
{
    QList<PonOpmItemData> records;
    records << ponRecord(QStringLiteral("1"), {power("1310", "-20.00", 0), power("1490", "-21.00", 1, false),
                                              power("1550", "-22.00", 2)})
            << ponRecord(QStringLiteral("2"), {power("1310", "Low", 3)})
            << ponRecord(QStringLiteral("3"), {});

    QTemporaryDir dir;
    QVERIFY(PonXlsx().save(records, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(namedLikeReport(file, QStringLiteral("-PON.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheet(), QStringLiteral("PON OPM datas"));
    QCOMPARE(headerOf(dump, 12),
             QStringList({"No.", "Name", "Date time", "ONT power(1310nm)", "ONT power unit", "ONT REF(dBm)",
                          "OLT power(1490nm)", "OLT power unit", "OLT REF(dBm)", "VDO power(1550nm)",
                          "VDO power unit", "VDO REF(dBm)"}));
    const QStringList row2{"1", "ONU", "2024-05-06 07:08:09", "-20.00", "dBm", "-3.00",
                           "5.00", "uW", "-3.00", "-22.00", "dBm", "-3.00"};
    for (int c = 0; c < row2.size(); ++c) {
        const QString name = QString(QLatin1Char(char('A' + c))) + QLatin1Char('2');
        QCOMPARE(dump.text(name), row2.at(c));
        QVERIFY(dump.framed(name));
    }
    QCOMPARE(dump.fill("D2"), kGreen);
    QCOMPARE(dump.fill("G2"), kYellow);
    QCOMPARE(dump.fill("J2"), kRed);
    QVERIFY(dump.fill("E2").isEmpty() && dump.fill("F2").isEmpty());
    // Fewer than three items: the missing triples stay empty.
    QCOMPARE(dump.text("D3"), QStringLiteral("Low"));
    QCOMPARE(dump.fill("D3"), kWhite);
    for (const char *name : {"G3", "H3", "I3", "J3", "K3", "L3", "D4", "A5"})
        QVERIFY2(!dump.has(name), name);
    QCOMPARE(dump.text("A4"), QStringLiteral("3"));
}

void TestReportWorkbooks::xgPon()
{
    QList<PonOpmItemData> records;
    records << ponRecord(QStringLiteral("1"), {power("1270", "-20.00", 2), power("1577", "-21.00", 0, false)})
            << ponRecord(QStringLiteral("2"), {});

    QTemporaryDir dir;
    QVERIFY(XGPonXlsx().save(records, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(namedLikeReport(file, QStringLiteral("-XG-PON.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheet(), QStringLiteral("XG-PON datas"));
    QCOMPARE(dump.text("C1"), QStringLiteral("Date Time"));
    QCOMPARE(dump.text("D1"), QStringLiteral("Wavelength(nm)1"));
    QCOMPARE(dump.text("E1"), QStringLiteral("Power(lg)1"));
    QCOMPARE(dump.text("F1"), QStringLiteral("REF(dBm)1"));
    QCOMPARE(dump.text("G1"), QStringLiteral("Power(W)1"));
    QCOMPARE(dump.text("W1"), QStringLiteral("Power(W)5"));
    QVERIFY(!dump.has("X1"));

    const QStringList row2{"1270", "-20.00dBm", "-3.00", "5.00uW", "1577", "-21.00dBm", "-3.00", "5.00uW"};
    for (int c = 0; c < row2.size(); ++c) {
        const QString name = QString(QLatin1Char(char('D' + c))) + QLatin1Char('2');
        QCOMPARE(dump.text(name), row2.at(c));
        QVERIFY(dump.framed(name));
    }
    QCOMPARE(dump.fill("E2"), kRed);
    QCOMPARE(dump.fill("I2"), kGreen);
    QVERIFY(dump.fill("D2").isEmpty());
    QVERIFY(!dump.has("L2"));
    QCOMPARE(dump.text("A3"), QStringLiteral("2"));
    QVERIFY(!dump.has("D3"));
}

void TestReportWorkbooks::realTime()
{
    const QDateTime start(QDate(2024, 12, 31), QTime(23, 59, 58));
    const char *powers[] = {"-20.00", "-80.00", "49.50", "-75.49", "-75.50", "---"};
    QList<QDateTime> times;
    QList<RealTimeOpmValue> readings;
    for (const char *p : powers) {
        RealTimeOpmValue value;
        value.wavelength = QStringLiteral("1550");
        value.power = QString::fromLatin1(p);
        value.frequency = QStringLiteral("CW");
        times << start.addSecs(times.size());
        readings << value;
    }
    // A surplus time without a reading is not written.
    times << start.addSecs(100);

    QTemporaryDir dir;
    QVERIFY(RealTimeXlsx().save(times, readings, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(namedLikeReport(file, QStringLiteral("-RT.xlsx")), qPrintable(file));
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.sheet(), QStringLiteral("OPM real-time values"));
    QCOMPARE(headerOf(dump, 7),
             QStringList({"No.", "Date", "Time", "Wavelength(nm)", "Power(dBm)", "Freqency(Hz)", ""}));

    const QStringList expected{"-20.00", "Low", "High", "-75.49", "Low", "---"};
    for (int s = 0; s < expected.size(); ++s) {
        const QString row = QString::number(s + 2);
        QCOMPARE(dump.type("A" + row), QStringLiteral("int"));
        QCOMPARE(dump.cell("A" + row).value("value").toInt(), s);
        QCOMPARE(dump.text("E" + row), expected.at(s));
        QCOMPARE(dump.text("D" + row), QStringLiteral("1550"));
        QCOMPARE(dump.text("F" + row), QStringLiteral("CW"));
        QVERIFY(dump.framed("A" + row));
    }
    QCOMPARE(dump.text("B2"), QStringLiteral("2024/12/31"));
    QCOMPARE(dump.text("C2"), QStringLiteral("23:59:58"));
    QCOMPARE(dump.text("B4"), QStringLiteral("2025/01/01"));
    QCOMPARE(dump.text("C4"), QStringLiteral("00:00:00"));
    QVERIFY(!dump.has("A8"));
}

void TestReportWorkbooks::realTimeSingleSample()
{
    // The first sample is a real reading and is kept in the report.
    RealTimeOpmValue value;
    value.wavelength = QStringLiteral("1310");
    value.power = QStringLiteral("-7.00");
    QTemporaryDir dir;
    QVERIFY(RealTimeXlsx().save({QDateTime::currentDateTime()}, {value}, dir.path()));
    const WorkbookDump dump = WorkbookDump::read(onlyReport(dir.path()));
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.cell("A2").value("value").toInt(), 0);
    QCOMPARE(dump.text("E2"), QStringLiteral("-7.00"));
    QVERIFY(!dump.has("A3"));
}

void TestReportWorkbooks::failedSaveLeavesNothing_data()
{
    QTest::addColumn<QString>("subdir");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("missing directory") << QStringLiteral("no/such/dir") << false;
    QTest::newRow("read-only directory") << QStringLiteral("locked") << true;
    QTest::newRow("a file, not a directory") << QStringLiteral("plain-file") << false;
}

void TestReportWorkbooks::failedSaveLeavesNothing()
{
    QFETCH(QString, subdir);
    QFETCH(bool, readOnly);
    QTemporaryDir base;
    const QString target = base.path() + QLatin1Char('/') + subdir;
    const bool isFile = subdir == QLatin1String("plain-file");
    if (isFile) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (readOnly) {
        QVERIFY(QDir(base.path()).mkdir(subdir));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(target + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("this user writes into read-only directories");
        }
    }

    OpmItemData item = record(QStringLiteral("1"));
    item.singleWaveOpmDatas << wave(QStringLiteral("1310"), QStringLiteral("-1.00"));
    QVERIFY(!OpmXlsx().saveSingleWave({item}, target));
    QVERIFY(!PartialOpmXlsx().save({partialRecord(QStringLiteral("1"), 2, 0, 1)}, target));
    QVERIFY(!PonXlsx().save({ponRecord(QStringLiteral("1"), {})}, target));
    QVERIFY(!RealTimeXlsx().save({QDateTime::currentDateTime()}, {RealTimeOpmValue()}, target));
    QVERIFY(!OpmXlsx().saveSingleWave({item}, QString()));

    if (readOnly) {
        QVERIFY(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY(!QFileInfo::exists(target) || readOnly || isFile);
    QCOMPARE(QDir(base.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
             (readOnly || isFile) ? 1 : 0);
}

void TestReportWorkbooks::secondSaveInSameSecondReplacesFirst()
{
    // Start right after a second turns so both saves share their time stamp.
    const qint64 second = QDateTime::currentMSecsSinceEpoch() / 1000;
    while (QDateTime::currentMSecsSinceEpoch() / 1000 == second)
        QTest::qWait(5);

    QTemporaryDir dir;
    OpmItemData first = record(QStringLiteral("1"), QStringLiteral("first"));
    OpmItemData second_ = record(QStringLiteral("1"), QStringLiteral("second"));
    QVERIFY(OpmXlsx().saveSingleWave({first}, dir.path()));
    QVERIFY(OpmXlsx().saveSingleWave({second_}, dir.path()));
    const QString file = onlyReport(dir.path());
    QVERIFY2(!file.isEmpty(), "both saves should share one file name");
    const WorkbookDump dump = WorkbookDump::read(file);
    QVERIFY2(dump.ok(), qPrintable(dump.error));
    QCOMPARE(dump.text("B2"), QStringLiteral("second"));
}

LUMISK_TEST(TestReportWorkbooks)
#include "tst_reportworkbooks.moc"
