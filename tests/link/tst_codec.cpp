// Requests as they go on the wire and the check of the meter's answers.

#include "link/commands.h"
#include "link/frame.h"
#include "link/valuecountframe.h"
#include "testregistry.h"

#include <QRandomGenerator>
#include <QtTest>

using Results = QList<int>;

class TestCodec : public QObject
{
    Q_OBJECT
private slots:
    void requests_data();
    void requests();
    void countAnswers_data();
    void countAnswers();
    void countPayloads_data();
    void countPayloads();
    void code17ClearedByNextCheck();
    void resetKeepsCode17();
    void setCountReadyEmptiesFrame();
    void anySplitGivesTheSameAnswer();
    void randomBytesNeverOverrun();
};

void TestCodec::requests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("device type") << Command::devType() << QByteArray("0100010002");
    QTest::newRow("device model") << Command::devModel() << QByteArray("0100030004");
    QTest::newRow("device version") << Command::devVersion() << QByteArray("0100040005");
    QTest::newRow("real-time") << Command::realTimeValue() << QByteArray("0100080009");
    QTest::newRow("opm count") << Command::opmCount() << QByteArray("01000e000f");
    QTest::newRow("multi-wave count") << Command::multiWaveCount() << QByteArray("0100160017");
    QTest::newRow("pon count") << Command::ponCount() << QByteArray("01000d000e");
    QTest::newRow("single-wave 1") << Command::singleWaveRecord(1) << QByteArray("01020600" "0001" "0a");
    QTest::newRow("single-wave 256") << Command::singleWaveRecord(256) << QByteArray("01020600" "0100" "0a");
    QTest::newRow("single-wave 65537 cut") << Command::singleWaveRecord(65537) << QByteArray("01020600" "0001" "0a");
    QTest::newRow("checksum wraps") << Command::singleWaveRecord(0xFF02) << QByteArray("01020600" "ff02" "0a");
    QTest::newRow("multi-wave 1") << Command::multiWaveRecord(1) << QByteArray("01020700" "0001" "0b");
    QTest::newRow("pon 300") << Command::ponRecord(300) << QByteArray("01020900" "012c" "39");
    QTest::newRow("xg-pon 1") << Command::xgPonRecord(1) << QByteArray("01020a00" "0001" "0e");
    QTest::newRow("clock 2024-03-05 14:07:09")
        << Command::setClock(2024, 3, 5, 14, 7, 9) << QByteArray("02070200" "07e8" "03050e0709" "20");
    QTest::newRow("clock fields keep their low byte")
        << Command::setClock(0x12345, 0x10C, 31, 23, 59, 59) << QByteArray("02070200" "2345" "0c1f173b3b" "2b");
}

void TestCodec::requests()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, expected);
    QCOMPARE(request.toHex(), expected);
}

void TestCodec::countAnswers_data()
{
    // Pieces arrive one read at a time; each gives the listed result.
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<Results>("results");
    QTest::addColumn<QByteArray>("bufferAfter");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<int>("count");

    const QByteArray count42 = "3f020100002a6c";
    QTest::newRow("count whole") << QByteArrayList{count42} << Results{DataOk} << count42 << true << 42;
    QTest::newRow("count split")
        << QByteArrayList{"3f02", "0100002a6c"} << Results{Incomplete, DataOk} << count42 << true << 42;
    QTest::newRow("count byte by byte")
        << QByteArrayList{"3f", "02", "01", "00", "00", "2a", "6c"}
        << Results{Incomplete, Incomplete, Incomplete, Incomplete, Incomplete, Incomplete, DataOk} << count42
        << true << 42;
    QTest::newRow("bytes after the answer dropped")
        << QByteArrayList{count42 + "3f0100"} << Results{DataOk} << count42 << true << 42;
    QTest::newRow("checksum off by one")
        << QByteArrayList{"3f020100002a6d"} << Results{CheckFailed} << QByteArray() << false << 0;
    QTest::newRow("wrong start byte") << QByteArrayList{"4000000040"} << Results{CheckFailed} << QByteArray() << false << 0;
    QTest::newRow("wrong start byte, too short to judge")
        << QByteArrayList{"40000000"} << Results{Incomplete} << QByteArray("40000000") << false << 0;
    QTest::newRow("junk then the answer again")
        << QByteArrayList{"a5" + count42, count42} << Results{CheckFailed, DataOk} << count42 << true << 42;
    QTest::newRow("length beyond what arrived waits")
        << QByteArrayList{"3f1001000102", "0304"} << Results{Incomplete, Incomplete} << QByteArray("3f10010001020304")
        << false << 0;
    QTest::newRow("length 255 waits for all of it")
        << QByteArrayList{"3fff0100" + QByteArray(254 * 2, '0')} << Results{Incomplete}
        << "3fff0100" + QByteArray(254 * 2, '0') << false << 0;

    // Status answers (answer code 0): the status is the first payload byte.
    const struct { const char *name; const char *bytes; ParseResult result; bool kept; } statuses[] = {
        {"status 1 done", "3f01000001" "41", CommandDone, true},
        {"status 2 reinit", "3f01000002" "42", NeedReinit, false},
        {"status 3 busy", "3f01000003" "43", Busy, false},
        {"status 4 not ready", "3f01000004" "44", NotReady, false},
        {"status 5 aborted", "3f01000005" "45", Aborted, true},
        {"status 6 no rtc", "3f01000006" "46", NoRtc, true},
        {"status 0 other", "3f01000000" "40", OtherStatus, true},
        {"status 7 other", "3f01000007" "47", OtherStatus, true},
        {"status ff other", "3f010000ff" "3f", OtherStatus, true},
        {"status without payload", "3f000000" "3f", OtherStatus, true},
        {"status with trailing payload", "3f02000001ee" "30", CommandDone, true},
    };
    for (const auto &s : statuses)
        QTest::newRow(s.name) << QByteArrayList{s.bytes} << Results{s.result}
                              << (s.kept ? QByteArray(s.bytes) : QByteArray()) << false << 0;
}

void TestCodec::countAnswers()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(Results, results);
    QFETCH(QByteArray, bufferAfter);
    QFETCH(bool, parsed);
    QFETCH(int, count);

    ValueCountFrame frame;
    QCOMPARE(pieces.size(), results.size());
    for (int i = 0; i < pieces.size(); ++i)
        QCOMPARE(int(frame.feed(QByteArray::fromHex(pieces.at(i)))), results.at(i));
    QCOMPARE(frame.buffer.toHex(), bufferAfter);
    QCOMPARE(frame.countReady, parsed);
    QCOMPARE(frame.count, count);
}

void TestCodec::countPayloads_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("count");

    QTest::newRow("empty payload") << QByteArray("3f000100" "40") << 0;
    QTest::newRow("one byte") << QByteArray("3f010100" "07" "48") << 7;
    QTest::newRow("largest") << QByteArray("3f020100" "ffff" "40") << 65535;
    QTest::newRow("three bytes, small") << QByteArray("3f030100" "000102" "46") << 258;
    QTest::newRow("above 16 bits") << QByteArray("3f030100" "010000" "44") << 0;
    QTest::newRow("eight bytes") << QByteArray("3f080100" "ffffffffffffffff" "40") << 0;
}

void TestCodec::countPayloads()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, count);
    ValueCountFrame frame;
    frame.count = -1;
    QCOMPARE(frame.feed(QByteArray::fromHex(answer)), DataOk);
    QVERIFY(frame.countReady);
    QCOMPARE(frame.count, count);
}

void TestCodec::code17ClearedByNextCheck()
{
    Frame frame;
    QCOMPARE(frame.feed(QByteArray::fromHex("3f021700002a82")), DataOk);
    QVERIFY(frame.isCode17);
    QCOMPARE(frame.payload.toHex(), QByteArray("002a"));

    frame.reset();
    QCOMPARE(frame.feed(QByteArray::fromHex("3f02")), Incomplete);
    QVERIFY(!frame.isCode17);

    frame.reset();
    QCOMPARE(frame.feed(QByteArray::fromHex("3f021700002a82")), DataOk);
    frame.reset();
    QCOMPARE(frame.feed(QByteArray::fromHex("3f020100002a6c")), DataOk);
    QVERIFY(!frame.isCode17);
}

void TestCodec::resetKeepsCode17()
{
    Frame frame;
    QCOMPARE(frame.feed(QByteArray::fromHex("3f021700002a82")), DataOk);
    QCOMPARE(frame.head[2], quint8(0x17));
    QCOMPARE(frame.checksum, quint8(0x82));
    QCOMPARE(frame.body.toHex(), QByteArray("3f021700002a"));
    frame.reset();
    QVERIFY(frame.buffer.isEmpty() && frame.body.isEmpty() && frame.payload.isEmpty());
    QCOMPARE(frame.head, (std::array<quint8, 4>{0, 0, 0, 0}));
    QCOMPARE(frame.checksum, quint8(0));
    QVERIFY(frame.isCode17);
}

void TestCodec::setCountReadyEmptiesFrame()
{
    ValueCountFrame frame;
    QCOMPARE(frame.feed(QByteArray::fromHex("3f020100002a6c")), DataOk);
    frame.setCountReady(false);
    QVERIFY(!frame.countReady);
    QVERIFY(frame.buffer.isEmpty());
    // The emptied frame takes the next answer as a fresh one.
    QCOMPARE(frame.feed(QByteArray::fromHex("3f0201000007" "49")), DataOk);
    QCOMPARE(frame.count, 7);
}

void TestCodec::anySplitGivesTheSameAnswer()
{
    const QByteArray answer = QByteArray::fromHex("3f060100" "0102030405ff" "54");
    QRandomGenerator random(20240305);
    for (int round = 0; round < 200; ++round) {
        Frame frame;
        ParseResult last = Incomplete;
        int at = 0;
        while (at < answer.size()) {
            QCOMPARE(last, Incomplete);
            const int piece = 1 + random.bounded(answer.size() - at);
            last = frame.feed(answer.mid(at, piece));
            at += piece;
        }
        QCOMPARE(last, DataOk);
        QCOMPARE(frame.payload.toHex(), QByteArray("0102030405ff"));
    }
}

void TestCodec::randomBytesNeverOverrun()
{
    // Whatever arrives, the frame keeps exactly the bytes of the answer it
    // is collecting, judges them by the layout, and after a verdict holds no
    // more than that one answer.
    QRandomGenerator random(7);
    for (int round = 0; round < 500; ++round) {
        ValueCountFrame frame;
        QByteArray fed; // what the frame should hold
        for (int piece = 0; piece < 8; ++piece) {
            QByteArray bytes(random.bounded(40), '\0');
            for (char &c : bytes)
                c = static_cast<char>(random.bounded(256));
            if (random.bounded(3) == 0 && !bytes.isEmpty())
                bytes[0] = Frame::StartByte;
            if (random.bounded(4) == 0 && bytes.size() >= 5) // now and then a sound answer
                bytes = QByteArray(1, Frame::StartByte) + char(2) + char(1 + random.bounded(255)) + char(0)
                    + bytes.mid(4, 2).leftJustified(2, '\0');
            if (random.bounded(4) == 0 && bytes.size() == 6)
                bytes.append(char(byteSum(bytes)));
            fed += bytes;
            const ParseResult result = frame.feed(bytes);
            if (result == Incomplete) {
                QCOMPARE(frame.buffer, fed);
                continue;
            }
            QVERIFY(fed.size() >= Frame::MinimumAnswerSize);
            const int whole = quint8(fed.at(1)) + Frame::MinimumAnswerSize;
            const bool sound = fed.at(0) == Frame::StartByte && fed.size() >= whole
                && byteSum(fed.left(whole - 1)) == quint8(fed.at(whole - 1));
            if (!sound) {
                QCOMPARE(result, CheckFailed);
                QVERIFY(frame.buffer.isEmpty());
            } else if (fed.at(2) != 0) {
                QCOMPARE(result, DataOk);
                QCOMPARE(frame.buffer, fed.left(whole));
                quint64 value = 0;
                for (char c : frame.payload)
                    value = value > 0xFFFF ? value : (value << 8) | quint8(c);
                QCOMPARE(frame.count, value > 0xFFFF ? 0 : int(value));
            } else {
                QVERIFY(result != DataOk && result != CheckFailed);
            }
            frame.reset();
            fed.clear();
        }
    }
}

LUMISK_TEST(TestCodec)
#include "tst_codec.moc"
