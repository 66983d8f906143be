// Decoding of stored records (single-, multi-, partial-wave, PON) and of live
// readings, from the raw answer bytes to the display texts.

#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "link/realtimeopmvalueframe.h"
#include "link/valuecountframe.h"
#include "link/valueformat.h"
#include "testregistry.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QProcess>
#include <QTest>
#include <cstring>
#include <limits>
#include <memory>

namespace {

QByteArray be16(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

QByteArray beFloat(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return be16(int(bits >> 16)) + be16(int(bits & 0xFFFF));
}

// A whole data answer: 3F, length, answer code, fourth byte, payload, checksum.
QByteArray answer(const QByteArray &payload, quint8 fourth = 0, quint8 code = 0x06)
{
    QByteArray out = QByteArray(1, 0x3F) + char(payload.size()) + char(code) + char(fourth) + payload;
    return out + char(byteSum(out));
}

struct Stamp
{
    int year = 2023, month = 5, day = 6, hour = 7, minute = 8, second = 9;
};

QByteArray makeRecordHead(const QByteArray &name, int number, const Stamp &t = Stamp())
{
    return char(name.size()) + name + be16(t.year) + char(t.month) + char(t.day) + char(t.hour) + char(t.minute)
        + char(t.second) + be16(number);
}

QByteArray makeOpmEntry(int wavelength, float power, quint8 unit = 0, float watt = 1.0f, quint8 wattUnit = 17,
                        float reference = 0.0f, int frequency = 0)
{
    return be16(wavelength) + beFloat(power) + char(unit) + beFloat(watt) + char(wattUnit) + beFloat(reference)
        + be16(frequency);
}

// Type code, then the OPM entry's fields up to the reference, then the verdict.
QByteArray ponEntry(qint8 type, int wavelength, float power, quint8 unit = 0, float watt = 1.0f,
                    quint8 wattUnit = 17, float reference = 0.0f, qint8 verdict = 0)
{
    return char(type) + makeOpmEntry(wavelength, power, unit, watt, wattUnit, reference).left(16) + char(verdict);
}

// Time stamp (skipped by the frame), then an OPM entry's layout.
QByteArray realTimePayload(int wavelength, float power, quint8 unit, float watt, quint8 wattUnit, float reference,
                           int frequency)
{
    return be16(2024) + QByteArray::fromHex("0102030405")
        + makeOpmEntry(wavelength, power, unit, watt, wattUnit, reference, frequency);
}

template <typename Item>
QStringList headTexts(const Item &item)
{
    return {item.number, item.name, item.time};
}

// The connected meter's identity, as the window hands it to its pages.
DevDatas meter;

Frame *makeFrame(const QString &type)
{
    if (type == QLatin1String("OpmValueFrame"))
        return new OpmValueFrame(&meter);
    if (type == QLatin1String("PartialOpmValueFrame"))
        return new PartialOpmValueFrame(&meter);
    if (type == QLatin1String("PonFrame"))
        return new PonFrame(&meter);
    if (type == QLatin1String("RealTimeOpmValueFrame"))
        return new RealTimeOpmValueFrame(&meter);
    return new ValueCountFrame;
}

// Everything a frame has decoded, one text per record, reading or value.
QStringList decoded(const Frame *frame)
{
    QStringList out;
    auto opm = [&out](const SingleWaveOpmData &d) { out << d.wavelength + ' ' + d.power + ' ' + d.powerW; };
    if (auto *f = qobject_cast<const OpmValueFrame *>(frame)) {
        out << headTexts(f->itemData);
        for (const SingleWaveOpmData &d : f->itemData.singleWaveOpmDatas)
            opm(d);
    } else if (auto *f = qobject_cast<const PartialOpmValueFrame *>(frame)) {
        out << headTexts(f->itemData);
        for (const PartialOpmData &d : f->itemData.partialOpmDatas) {
            opm(d.wave1);
            opm(d.wave2);
        }
    } else if (auto *f = qobject_cast<const PonFrame *>(frame)) {
        out << headTexts(f->itemData);
        for (const PowerInfo &p : f->itemData.powerInfos)
            out << p.wavelength + ' ' + p.power + ' ' + p.powerW;
    } else if (auto *f = qobject_cast<const RealTimeOpmValueFrame *>(frame)) {
        const RealTimeOpmValue v = f->value();
        out << v.wavelength << v.power << v.reference << v.powerW << v.frequency << v.powerUnit << v.powerWUnit
            << QString::number(double(v.powerValue)) << QString::number(double(v.powerWValue))
            << QString::number(double(v.referenceValue));
    } else if (auto *f = qobject_cast<const ValueCountFrame *>(frame)) {
        out << QString::number(f->count) << QString::number(f->countReady);
    }
    return out;
}

} // namespace

class TestRecordFrames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void powerText_data();
    void powerText();
    void wattText_data();
    void wattText();
    void opmEntry_data();
    void opmEntry();
    void recordHead_data();
    void recordHead();
    void opmPayloadShapes_data();
    void opmPayloadShapes();
    void partialVerdicts_data();
    void partialVerdicts();
    void partialWithoutCompleteEntry();
    void ponItems_data();
    void ponItems();
    void ponSpareBytes();
    void realTime_data();
    void realTime();
    void bytewiseFeed();
    void resetForgetsWhatWasDecoded_data();
    void resetForgetsWhatWasDecoded();
    void timesKeepAsciiDigits();
    void timesUnderOtherSystemLocales_data();
    void timesUnderOtherSystemLocales();
    void timesAcrossZoneChanges_data();
    void timesAcrossZoneChanges();
};

void TestRecordFrames::initTestCase()
{
    // The frames trace every record; keep the test log readable.
    QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false"));
}

void TestRecordFrames::cleanupTestCase()
{
    QLoggingCategory::setFilterRules(QString());
}

void TestRecordFrames::cleanup()
{
    meter.rangeCode = 0;
}

void TestRecordFrames::powerText_data()
{
    QTest::addColumn<float>("power");
    QTest::addColumn<int>("rangeCode");
    QTest::addColumn<bool>("withLimits");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("outOfRange");

    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("-80 is Low") << -80.0f << 1 << true << "Low" << true;
    QTest::newRow("50 is High") << 50.0f << 0 << true << "High" << true;
    QTest::newRow("+inf is High") << inf << 0 << true << "High" << true;
    QTest::newRow("just under High") << 49.99f << 0 << true << "49.99" << false;
    QTest::newRow("-79.99 range 1: 1 decimal") << -79.99f << 1 << true << "-80.0" << false;
    QTest::newRow("-79.99 range 0: 2 decimals") << -79.99f << 0 << true << "-79.99" << false;
    QTest::newRow("-59.5 range 1") << -59.5f << 1 << true << "-59.50" << false;
    QTest::newRow("-60 range 1 not below") << -60.0f << 1 << true << "-60.00" << false;
    QTest::newRow("-60.01 range 1") << -60.01f << 1 << true << "-60.0" << false;
    QTest::newRow("-50.04 range 2") << -50.04f << 2 << true << "-50.0" << false;
    QTest::newRow("-40.26 range 3") << -40.26f << 3 << true << "-40.3" << false;
    QTest::newRow("-30.26 range 4") << -30.26f << 4 << true << "-30.3" << false;
    QTest::newRow("-70 unknown range 7") << -70.0f << 7 << true << "-70.00" << false;
    QTest::newRow("-0.004 is 0.00") << -0.004f << 0 << true << "0.00" << false;
    QTest::newRow("-0.006 is -0.01") << -0.006f << 0 << true << "-0.01" << false;
    QTest::newRow("0 is 0.00") << 0.0f << 0 << true << "0.00" << false;
    QTest::newRow("-0 is 0.00") << -0.0f << 0 << true << "0.00" << false;
    QTest::newRow("-0.005 never -0.00") << -0.005f << 0 << true << "0.00" << false;
    QTest::newRow("live -85 range 1") << -85.0f << 1 << false << "-85.0" << false;
    QTest::newRow("live -85 range 0") << -85.0f << 0 << false << "-85.00" << false;
    QTest::newRow("live -0.003") << -0.003f << 1 << false << "0.00" << false;
    QTest::newRow("live huge") << 3e30f << 0 << false << "2999999894026671207801419726848.00" << false;
}

void TestRecordFrames::powerText()
{
    QFETCH(float, power);
    QFETCH(int, rangeCode);
    QFETCH(bool, withLimits);
    QFETCH(QString, text);
    QFETCH(bool, outOfRange);
    DevDatas datas;
    datas.rangeCode = rangeCode;
    bool out = !outOfRange;
    QCOMPARE(ValueFormat::powerText(power, &datas, withLimits, &out), text);
    QCOMPARE(out, outOfRange);
}

void TestRecordFrames::wattText_data()
{
    QTest::addColumn<float>("watt");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0f << "0.000";
    QTest::newRow("9.9999") << 9.9999f << "10.000";
    QTest::newRow("10") << 10.0f << "10.00";
    QTest::newRow("-10") << -10.0f << "-10.00";
    QTest::newRow("100") << 100.0f << "100.0";
    QTest::newRow("999.5") << 999.5f << "999.5";
    QTest::newRow("-999.5") << -999.5f << "-999.5";
    QTest::newRow("1000") << 1000.0f << "1000";
    QTest::newRow("1234.5678") << 1234.5678f << "1235";
}

void TestRecordFrames::wattText()
{
    QFETCH(float, watt);
    QFETCH(QString, text);
    QCOMPARE(ValueFormat::wattText(watt), text);
}

void TestRecordFrames::opmEntry_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QStringList>("texts"); // wavelength power powerUnit powerW powerWUnit reference frequency
    QTest::addColumn<bool>("isRelative");
    QTest::addColumn<bool>("outOfRange");

    QTest::newRow("absolute dBm") << makeOpmEntry(1310, -10.5f, 0, 89.1f, 18, -3.25f, 270)
                                  << QStringList{"1310", "-10.50", "dBm", "89.10", "uw", "---", "270"} << false << false;
    QTest::newRow("unit code 1 is dBm") << makeOpmEntry(1550, -3.0f, 1, 0.5f, 17)
                                        << QStringList{"1550", "-3.00", "dBm", "0.500", "mw", "---", "---"} << false
                                        << false;
    QTest::newRow("relative dB with reference") << makeOpmEntry(1490, -2.0f, 0x20, 630.0f, 19, -3.25f, 1000)
                                                << QStringList{"1490", "-2.00", "dB", "630.0", "nw", "-3.25", "1000"}
                                                << true << false;
    QTest::newRow("watt unit w, unknown power unit") << makeOpmEntry(850, 1.0f, 7, 1500.0f, 16, 4.0f, 2000)
                                                     << QStringList{"850", "1.00", "", "1500", "w", "---", "2000"}
                                                     << false << false;
    QTest::newRow("unknown watt unit") << makeOpmEntry(65535, 1.0f, 0, 1.0f, 0xFF, 0.0f, 65535)
                                       << QStringList{"65535", "1.00", "dBm", "1.000", "", "---", "65535"} << false
                                       << false;
    QTest::newRow("Low blanks the rest") << makeOpmEntry(1310, -85.0f, 0x20, 3.0f, 18, -3.25f, 270)
                                         << QStringList{"1310", "Low", "", "---", "", "---", "---"} << true << true;
    QTest::newRow("High blanks the rest") << makeOpmEntry(1625, 55.0f, 0, 3.0f, 18, 0.0f, 270)
                                          << QStringList{"1625", "High", "", "---", "", "---", "---"} << false << true;
}

void TestRecordFrames::opmEntry()
{
    QFETCH(QByteArray, entry);
    QFETCH(QStringList, texts);
    QFETCH(bool, isRelative);
    QFETCH(bool, outOfRange);
    OpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(makeRecordHead("R", 1) + entry)), DataOk);
    QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 1);
    const SingleWaveOpmData &d = frame.itemData.singleWaveOpmDatas.first();
    QCOMPARE((QStringList{d.wavelength, d.power, d.powerUnit, d.powerW, d.powerWUnit, d.reference, d.frequency}),
             texts);
    QCOMPARE(d.isRelative, isRelative);
    QCOMPARE(d.outOfRange, outOfRange);
}

void TestRecordFrames::recordHead_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("time");

    Stamp t;
    QTest::newRow("plain") << makeRecordHead("A1", 12, t) << "12" << "A1" << "23/05/06 07:08";
    QTest::newRow("name up to zero byte") << makeRecordHead(QByteArray::fromHex("413100"), 7) << "7" << "A1"
                                          << "23/05/06 07:08";
    QTest::newRow("utf-8 name") << makeRecordHead(QString::fromUtf8("测试").toUtf8(), 1) << "1"
                                << QString::fromUtf8("测试") << "23/05/06 07:08";
    QTest::newRow("number 65535") << makeRecordHead("x", 0xFFFF) << "65535" << "x" << "23/05/06 07:08";

    QByteArray noName = makeRecordHead("", 3);
    QTest::newRow("length 0: no name") << noName << "3" << "---" << "23/05/06 07:08";
    QByteArray negative = noName;
    negative[0] = char(0xFF); // -1: no name bytes follow
    QTest::newRow("negative length: no name") << negative << "3" << "---" << "23/05/06 07:08";

    auto stamped = [](int mo, int d, int h, int mi, int s, int y = 2023) {
        Stamp st;
        st.year = y, st.month = mo, st.day = d, st.hour = h, st.minute = mi, st.second = s;
        return makeRecordHead("n", 5, st);
    };
    QTest::newRow("month 0") << stamped(0, 1, 1, 1, 1) << "5" << "n" << "---";
    QTest::newRow("day 0") << stamped(1, 0, 1, 1, 1) << "5" << "n" << "---";
    QTest::newRow("30 February") << stamped(2, 30, 1, 1, 1) << "5" << "n" << "---";
    QTest::newRow("hour 24") << stamped(1, 1, 24, 0, 0) << "5" << "n" << "---";
    QTest::newRow("second 60") << stamped(1, 1, 1, 1, 60) << "5" << "n" << "---";
    QTest::newRow("year 0") << stamped(1, 1, 1, 1, 1, 0) << "5" << "n" << "---";
    QTest::newRow("29 February 2024") << stamped(2, 29, 23, 59, 59, 2024) << "5" << "n" << "24/02/29 23:59";
}

void TestRecordFrames::recordHead()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, time);
    const QStringList expected{number, name, time};
    // The same head starts every kind of record.
    OpmValueFrame opm(&meter);
    QCOMPARE(opm.feed(answer(head + makeOpmEntry(1310, -5.0f))), DataOk);
    QCOMPARE(headTexts(opm.itemData), expected);
    QCOMPARE(opm.itemData.singleWaveOpmDatas.size(), 1);
    QCOMPARE(opm.itemData.singleWaveOpmDatas.first().wavelength, QStringLiteral("1310"));
    PonFrame pon(&meter);
    QCOMPARE(pon.feed(answer(head + ponEntry(1, 1490, -5.0f))), DataOk);
    QCOMPARE(headTexts(pon.itemData), expected);
    QCOMPARE(pon.itemData.powerInfos.size(), 1);
    PartialOpmValueFrame partial(&meter);
    QCOMPARE(partial.feed(answer(head + makeOpmEntry(1550, -5.0f), 0x11)), DataOk);
    QCOMPARE(headTexts(partial.itemData), expected);
}

void TestRecordFrames::opmPayloadShapes_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("wavelengths");

    const QByteArray head = makeRecordHead("M", 9);
    QTest::newRow("empty") << QByteArray() << "" << "" << "" << QStringList();
    QTest::newRow("6 bytes: no record") << head.left(6) << "" << "" << "" << QStringList();
    QTest::newRow("7 bytes: head cut in the date") << makeRecordHead("MMM", 9).left(7) << "0" << "MMM" << "---"
                                                  << QStringList();
    QTest::newRow("head only") << head << "9" << "M" << "23/05/06 07:08" << QStringList();
    QTest::newRow("partial entry ignored") << head + makeOpmEntry(1310, 1.0f).left(17) << "9" << "M"
                                           << "23/05/06 07:08" << QStringList();
    QByteArray five = head;
    for (int wl : {850, 1300, 1310, 1490, 1550})
        five += makeOpmEntry(wl, -7.0f);
    QTest::newRow("five wavelengths in order") << five << "9" << "M" << "23/05/06 07:08"
                                               << QStringList{"850", "1300", "1310", "1490", "1550"};
    QTest::newRow("five wavelengths + 17 spare bytes")
        << five + QByteArray(17, '\x7F') << "9" << "M" << "23/05/06 07:08"
        << QStringList{"850", "1300", "1310", "1490", "1550"};

    // A name longer than the payload: the name takes what is there and the
    // fields after it count as 0.
    QByteArray longName("\x64" "AB", 3);
    longName += QByteArray(8, '\0');
    QTest::newRow("name length past the end") << longName << "0" << "AB" << "---" << QStringList();
    QByteArray maxName(1, char(0x7F));
    maxName += QByteArray(127, 'z') + head.mid(2) + makeOpmEntry(1625, 3.0f);
    QTest::newRow("name of 127 bytes") << maxName << "9" << QString(127, 'z') << "23/05/06 07:08"
                                       << QStringList{"1625"};
}

void TestRecordFrames::opmPayloadShapes()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, time);
    QFETCH(QStringList, wavelengths);
    OpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(payload)), DataOk);
    QCOMPARE(frame.itemData.number, number);
    QCOMPARE(frame.itemData.name, name);
    QCOMPARE(frame.itemData.time, time);
    QStringList got;
    for (const SingleWaveOpmData &d : frame.itemData.singleWaveOpmDatas)
        got << d.wavelength;
    QCOMPARE(got, wavelengths);
    QVERIFY(frame.itemData.partialOpmDatas.isEmpty());
}

void TestRecordFrames::partialVerdicts_data()
{
    QTest::addColumn<int>("fourth");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("passStatus1");
    QTest::addColumn<int>("passStatus2");

    QTest::newRow("0x21 two: pass, warning") << 0x21 << 2 << 0 << 1;
    QTest::newRow("0x21 one: second untouched") << 0x21 << 1 << 0 << 3;
    QTest::newRow("0x12 two: warning, pass") << 0x12 << 2 << 1 << 0;
    QTest::newRow("0x33 two: fail, fail") << 0x33 << 2 << 2 << 2;
    QTest::newRow("0x00 two: none, none") << 0x00 << 2 << 3 << 3;
    QTest::newRow("0x4F two: none, none") << 0x4F << 2 << 3 << 3;
    QTest::newRow("0x23 three: second not decoded") << 0x23 << 3 << 2 << 3;
}

void TestRecordFrames::partialVerdicts()
{
    QFETCH(int, fourth);
    QFETCH(int, entries);
    QFETCH(int, passStatus1);
    QFETCH(int, passStatus2);
    QByteArray payload = makeRecordHead("P", 4);
    for (int i = 0; i < entries; ++i)
        payload += makeOpmEntry(1310 + 240 * i, i == 1 ? -90.0f : -12.0f, 0, 63.0f, 18);
    PartialOpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(payload, quint8(fourth), 0x07)), DataOk);
    QCOMPARE(frame.itemData.partialOpmDatas.size(), 1);
    QVERIFY(frame.itemData.singleWaveOpmDatas.isEmpty());
    const PartialOpmData &p = frame.itemData.partialOpmDatas.first();
    QCOMPARE(p.waveCount, entries);
    QCOMPARE(p.passStatus1, passStatus1);
    QCOMPARE(p.passStatus2, passStatus2);
    QCOMPARE(p.wave1.wavelength, QStringLiteral("1310"));
    QCOMPARE(p.wave1.power, QStringLiteral("-12.00"));
    QCOMPARE(p.wave1.powerW, QStringLiteral("63.00"));
    if (entries == 2) {
        QCOMPARE(p.wave2.wavelength, QStringLiteral("1550"));
        QCOMPARE(p.wave2.power, QStringLiteral("Low"));
        QVERIFY(p.wave2.outOfRange);
    } else {
        QVERIFY(p.wave2.wavelength.isEmpty());
        QVERIFY(p.wave2.power.isEmpty());
    }
}

void TestRecordFrames::partialWithoutCompleteEntry()
{
    // 10 of the 18 entry bytes: wavelength, power, unit, 3 watt bytes. The
    // missing bytes count as 0, nothing past the payload is read.
    const QByteArray entry = makeOpmEntry(1490, -20.0f, 0x20, 0.0f, 17, 0.0f, 0).left(10);
    PartialOpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(makeRecordHead("Q", 2) + entry, 0x22, 0x07)), DataOk);
    QCOMPARE(frame.itemData.partialOpmDatas.size(), 1);
    const PartialOpmData &p = frame.itemData.partialOpmDatas.first();
    QCOMPARE(p.waveCount, 0);
    QCOMPARE(p.passStatus1, 1);
    QCOMPARE(p.passStatus2, 3);
    QCOMPARE(p.wave1.wavelength, QStringLiteral("1490"));
    QCOMPARE(p.wave1.power, QStringLiteral("-20.00"));
    QCOMPARE(p.wave1.powerUnit, QStringLiteral("dB"));
    QCOMPARE(p.wave1.powerW, QStringLiteral("0.000"));
    QCOMPARE(p.wave1.powerWUnit, QStringLiteral("dBm")); // unit code 0
    QCOMPARE(p.wave1.reference, QStringLiteral("0.00"));
    QCOMPARE(p.wave1.frequency, QStringLiteral("---"));

    // Nothing at all after the fourth byte.
    PartialOpmValueFrame empty(&meter);
    QCOMPARE(empty.feed(answer(QByteArray(), 0x01, 0x07)), DataOk);
    QCOMPARE(empty.itemData.partialOpmDatas.size(), 1);
    QCOMPARE(empty.itemData.name, QStringLiteral("---"));
    QCOMPARE(empty.itemData.time, QStringLiteral("---"));
    QCOMPARE(empty.itemData.partialOpmDatas.first().wave1.wavelength, QStringLiteral("0"));
}

void TestRecordFrames::ponItems_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("typeCode");
    QTest::addColumn<QStringList>("texts"); // wavelength power powerUnit powerW powerWUnit reference
    QTest::addColumn<int>("passStatus");
    QTest::addColumn<QVariantList>("flags"); // showPower isRelative inRange

    QTest::newRow("ONT dBm") << ponEntry(0, 1310, -18.25f, 0, 14.96f, 18, -1.0f, 0) << 0
                             << QStringList{"1310", "-18.25", "dBm", "14.96", "uw", "---"} << 0
                             << QVariantList{true, false, true};
    QTest::newRow("unit code 1: show watts") << ponEntry(1, 1490, -3.0f, 1, 501.2f, 18, 0.0f, 1) << 1
                                             << QStringList{"1490", "-3.00", "dBm", "501.2", "uw", "---"} << 1
                                             << QVariantList{false, false, true};
    QTest::newRow("VDO relative") << ponEntry(2, 1550, 2.5f, 0x20, 1.78f, 17, -3.25f, 2) << 2
                                  << QStringList{"1550", "2.50", "dB", "1.780", "mw", "-3.25"} << 2
                                  << QVariantList{true, true, true};
    QTest::newRow("Low keeps wavelength and verdict") << ponEntry(0, 1310, -85.0f, 0x20, 0.1f, 19, -3.0f, 2) << 0
                                                      << QStringList{"1310", "Low", "", "---", "", "---"} << 2
                                                      << QVariantList{true, true, false};
    QTest::newRow("High") << ponEntry(1, 1490, 52.0f, 1, 0.1f, 19, 0.0f, 1) << 1
                          << QStringList{"1490", "High", "", "---", "", "---"} << 1
                          << QVariantList{false, false, false};
    QTest::newRow("signed type and verdict") << ponEntry(-1, 1577, -10.0f, 0, 100.0f, 18, 0.0f, -2) << -1
                                             << QStringList{"1577", "-10.00", "dBm", "100.0", "uw", "---"} << -2
                                             << QVariantList{true, false, true};
}

void TestRecordFrames::ponItems()
{
    QFETCH(QByteArray, entry);
    QFETCH(int, typeCode);
    QFETCH(QStringList, texts);
    QFETCH(int, passStatus);
    QFETCH(QVariantList, flags);
    PonFrame frame(&meter);
    QCOMPARE(frame.feed(answer(makeRecordHead("PON", 77) + entry, 0, 0x09)), DataOk);
    QCOMPARE(frame.itemData.powerInfos.size(), 1);
    const PowerInfo &p = frame.itemData.powerInfos.first();
    QCOMPARE(p.typeCode, typeCode);
    QCOMPARE((QStringList{p.wavelength, p.power, p.powerUnit, p.powerW, p.powerWUnit, p.reference}), texts);
    QCOMPARE(p.passStatus, passStatus);
    QCOMPARE((QVariantList{p.showPower, p.isRelative, p.inRange}), flags);
}

void TestRecordFrames::ponSpareBytes()
{
    QByteArray payload = makeRecordHead("", 3);
    payload += ponEntry(0, 1310, -1.0f);
    payload += ponEntry(1, 1490, -2.0f);
    payload += ponEntry(2, 1550, -3.0f);
    payload += QByteArray::fromHex("0102030405");
    PonFrame frame(&meter);
    QCOMPARE(frame.feed(answer(payload, 0, 0x0A)), DataOk);
    QCOMPARE(frame.itemData.powerInfos.size(), 3);
    QCOMPARE(frame.itemData.powerInfos.at(2).typeCode, 2);
    QCOMPARE(frame.itemData.powerInfos.at(2).power, QStringLiteral("-3.00"));

    PonFrame empty(&meter);
    QCOMPARE(empty.feed(answer(QByteArray(), 0, 0x09)), DataOk);
    QCOMPARE(empty.itemData.number, QStringLiteral("0"));
    QVERIFY(empty.itemData.powerInfos.isEmpty());
}

void TestRecordFrames::realTime_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("rangeCode");
    QTest::addColumn<QStringList>("texts"); // wavelength power reference powerW frequency powerUnit powerWUnit

    QTest::newRow("-85 range 1: no Low") << realTimePayload(1310, -85.0f, 0, 0.0f, 19, 0.0f, 0) << 1
                                         << QStringList{"1310", "-85.0", "0.00", "0.000", "0", "dBm", "nw"};
    QTest::newRow("-0.003 is 0.00") << realTimePayload(1550, -0.003f, 0x20, 1.0f, 17, -3.25f, 270) << 0
                                    << QStringList{"1550", "0.00", "-3.25", "1.000", "270", "dB", "mw"};
    QTest::newRow("watt always 3 decimals") << realTimePayload(850, 60.0f, 1, 1234.5678f, 16, 0.0f, 2000) << 0
                                            << QStringList{"850", "60.00", "0.00", "1234.568", "2000", "dBm", "w"};
    QTest::newRow("unknown units") << realTimePayload(1490, -20.0f, 9, 10.0f, 99, 1.0f, 1) << 4
                                   << QStringList{"1490", "-20.00", "1.00", "10.000", "1", "", ""};
    // Time stamp and wavelength only: what is missing reads as 0.
    QTest::newRow("cut after the wavelength") << realTimePayload(1310, -5.0f, 9, 2.0f, 17, 1.0f, 9).left(9) << 0
                                              << QStringList{"1310", "0.00", "0.00", "0.000", "0", "dBm", "dBm"};
}

void TestRecordFrames::realTime()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, rangeCode);
    QFETCH(QStringList, texts);
    meter.rangeCode = rangeCode;
    RealTimeOpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(payload, 0, 0x08)), DataOk);
    QCOMPARE((QStringList{frame.wavelength, frame.power, frame.reference, frame.powerW, frame.frequency,
                          frame.powerUnit, frame.powerWUnit}),
             texts);
    const RealTimeOpmValue v = frame.value();
    QCOMPARE((QStringList{v.wavelength, v.power, v.reference, v.powerW, v.frequency, v.powerUnit, v.powerWUnit}),
             texts);
    QCOMPARE(v.powerValue, frame.powerValue);
    QCOMPARE(v.powerWValue, frame.powerWValue);
    QCOMPARE(v.referenceValue, frame.referenceValue);
}

void TestRecordFrames::bytewiseFeed()
{
    meter.rangeCode = 1;
    const QByteArray bytes = answer(makeRecordHead("B", 300) + makeOpmEntry(1310, -61.24f, 0, 0.75f, 19, 0.0f, 2000));
    OpmValueFrame frame(&meter);
    for (int i = 0; i + 1 < bytes.size(); ++i)
        QCOMPARE(frame.feed(bytes.mid(i, 1)), Incomplete);
    QCOMPARE(frame.feed(bytes.right(1)), DataOk);
    QCOMPARE(frame.itemData.number, QStringLiteral("300"));
    QCOMPARE(frame.itemData.singleWaveOpmDatas.size(), 1);
    QCOMPARE(frame.itemData.singleWaveOpmDatas.first().power, QStringLiteral("-61.2"));
    QCOMPARE(frame.itemData.singleWaveOpmDatas.first().powerW, QStringLiteral("0.750"));
}

void TestRecordFrames::resetForgetsWhatWasDecoded_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("texts"); // what one decode gives

    const QByteArray head = makeRecordHead("R", 1);
    QTest::newRow("single-wave") << "OpmValueFrame" << answer(head + makeOpmEntry(1310, -5.0f)) << 3 + 1;
    QTest::newRow("multi-wave") << "OpmValueFrame"
                                << answer(head + makeOpmEntry(1310, -5.0f) + makeOpmEntry(1550, -6.0f), 0, 0x07)
                                << 3 + 2;
    QTest::newRow("partial-wave") << "PartialOpmValueFrame"
                                  << answer(head + makeOpmEntry(1310, -5.0f) + makeOpmEntry(1550, -6.0f), 0x21, 0x07)
                                  << 3 + 2;
    QTest::newRow("PON") << "PonFrame" << answer(head + ponEntry(0, 1310, -5.0f) + ponEntry(1, 1490, -6.0f), 0, 0x09)
                         << 3 + 2;
    QTest::newRow("real-time") << "RealTimeOpmValueFrame"
                               << answer(realTimePayload(1310, -5.0f, 0, 1.0f, 17, 0.0f, 270), 0, 0x08) << 10;
    QTest::newRow("count") << "ValueCountFrame" << answer(QByteArray::fromHex("002a"), 0, 0x0E) << 2;
}

// A frame that is reset and given the same answer again holds one decode of
// it, and in between nothing of the first.
void TestRecordFrames::resetForgetsWhatWasDecoded()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, bytes);
    QFETCH(int, texts);
    const std::unique_ptr<Frame> fresh(makeFrame(type));
    const std::unique_ptr<Frame> frame(makeFrame(type));
    QCOMPARE(frame->feed(bytes), DataOk);
    const QStringList once = decoded(frame.get());
    QCOMPARE(once.size(), texts);
    QVERIFY(once != decoded(fresh.get()));

    frame->reset();
    QCOMPARE(decoded(frame.get()), decoded(fresh.get()));
    QCOMPARE(frame->feed(bytes), DataOk);
    QCOMPARE(decoded(frame.get()), once);
}

// Record times, the clock label and the chart read-out all go through the
// same formatting; under a locale with other digits they keep ASCII ones.
void TestRecordFrames::timesKeepAsciiDigits()
{
    const QString expected = qEnvironmentVariable("LUMISK_EXPECT_SYSTEM_LOCALE");
    if (!expected.isEmpty()) { // a child run: the locale really has other digits
        QCOMPARE(QLocale::system().name(), expected);
        QVERIFY(QLocale::system().zeroDigit() != QLatin1Char('0'));
    }
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Arabic));
    OpmValueFrame frame(&meter);
    QCOMPARE(frame.feed(answer(makeRecordHead("T", 1))), DataOk);
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    const QString clock = ValueFormat::dateTimeText(when, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    QLocale::setDefault(previous);
    QCOMPARE(frame.itemData.time, QStringLiteral("23/05/06 07:08"));
    QCOMPARE(clock, QStringLiteral("2024/03/05 14:07:09"));
}

void TestRecordFrames::timesUnderOtherSystemLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("Arabic") << "ar_EG";
    QTest::newRow("Persian") << "fa_IR";
}

// The system locale is read once per process, so a child run of this
// program checks the times under it.
void TestRecordFrames::timesUnderOtherSystemLocales()
{
    QFETCH(QString, locale);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale + QStringLiteral(".UTF-8"));
    environment.insert(QStringLiteral("LUMISK_EXPECT_SYSTEM_LOCALE"), locale);
    environment.insert(QStringLiteral("LUMISK_TEST_CLASS"), QStringLiteral("TestRecordFrames"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("timesKeepAsciiDigits")});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAll().constData());
}

void TestRecordFrames::timesAcrossZoneChanges_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QList<QDateTime>>("times"); // decoded in this order
    QTest::addColumn<QStringList>("texts");

    const auto at = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    QTest::newRow("Berlin spring gap")
        << QByteArray("Europe/Berlin")
        << QList<QDateTime>{at(2024, 3, 30, 2, 30, 0), at(2024, 3, 31, 1, 59, 59), at(2024, 3, 31, 2, 0, 0),
                            at(2024, 3, 31, 2, 59, 59), at(2024, 3, 31, 3, 0, 0), at(2024, 3, 31, 2, 30, 0)}
        << QStringList{"24/03/30 02:30", "24/03/31 01:59", "---", "---", "24/03/31 03:00", "---"};
    QTest::newRow("Berlin autumn overlap")
        << QByteArray("Europe/Berlin") << QList<QDateTime>{at(2024, 10, 27, 2, 30, 0), at(2024, 10, 27, 23, 0, 0)}
        << QStringList{"24/10/27 02:30", "24/10/27 23:00"};
    QTest::newRow("Sao Paulo gap at midnight")
        << QByteArray("America/Sao_Paulo") << QList<QDateTime>{at(2018, 11, 4, 0, 30, 0), at(2018, 11, 4, 1, 0, 0)}
        << QStringList{"---", "18/11/04 01:00"};
    // The same wall-clock time, first in a zone without the change, then in one with it.
    QTest::newRow("zone changed between records")
        << QByteArray("UTC|Europe/Berlin") << QList<QDateTime>{at(2024, 3, 31, 2, 30, 0), at(2024, 3, 31, 2, 30, 0)}
        << QStringList{"24/03/31 02:30", "---"};
}

// A time the PC's zone skips shows as absent; the days around it, and other
// times of that day, as the meter gives them.
void TestRecordFrames::timesAcrossZoneChanges()
{
    QFETCH(QByteArray, zone);
    QFETCH(QList<QDateTime>, times);
    QFETCH(QStringList, texts);
    const QByteArray previous = qgetenv("TZ");
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QList<QByteArray> zones = zone.split('|');
    QStringList shown;
    for (int i = 0; i < times.size(); ++i) {
        qputenv("TZ", zones.value(i, zones.last()));
        const QDate d = times[i].date();
        const QTime t = times[i].time();
        shown << ValueFormat::timeText(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
    }
    if (hadZone)
        qputenv("TZ", previous);
    else
        qunsetenv("TZ");
    QCOMPARE(shown, texts);
}

LUMISK_TEST(TestRecordFrames)
#include "tst_recordframes.moc"
