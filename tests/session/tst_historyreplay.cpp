// A stored session decodes again at its own meter's range code, while the
// page goes back to the connected meter's identity, which is left untouched.

#include "domain/baseformlogic.h"
#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "session/historyrecorder.h"
#include "session/historyreplay.h"
#include "testregistry.h"

#include <QTest>

namespace {

// Keeps the first power text of every single-wave record it takes.
class PowerSink : public BaseFormLogic
{
public:
    PowerSink() { createFrame(); }
    int currentPage() override { return 0; }
    void setCurrentPage(int) override {}
    Frame *frame() override { return ownedFrame; }
    int nextItemNumber() override { return powers.size() + 1; }
    void fillDatas() override
    {
        powers << static_cast<OpmValueFrame *>(ownedFrame)->itemData.singleWaveOpmDatas.value(0).power;
        renewFrame();
    }
    void gotoPage(int) override {}
    void createFrame() override { ownedFrame = new OpmValueFrame(meterIdentity); }
    void clearDatas() override { powers.clear(); }
    int itemCount() const override { return int(powers.size()); }

    QStringList powers;
};

// No name, 2024-03-05 14:07:09, record 1; 1310 nm, -55 dBm, 1 mW: one
// decimal below a range-2 meter's -50 dBm threshold, two on a range-1 meter.
const QByteArray Payload = QByteArray::fromHex("00" "07e8" "03" "05" "0e" "07" "09" "0001"
                                               "051e" "c25c0000" "00" "3f800000" "11" "00000000" "0000");

} // namespace

class TestHistoryReplay : public QObject
{
    Q_OBJECT

private slots:
    void decodesAtTheSessionsRange_data()
    {
        QTest::addColumn<int>("connectedRange");
        QTest::addColumn<int>("sessionRange");
        QTest::addColumn<QString>("replayed");
        QTest::addColumn<QString>("connectedAfter");
        QTest::newRow("range-2 session, range-1 meter") << 1 << 2 << "-55.0" << "-55.00";
        QTest::newRow("range-1 session, range-2 meter") << 2 << 1 << "-55.00" << "-55.0";
    }
    void decodesAtTheSessionsRange()
    {
        QFETCH(int, connectedRange);
        QFETCH(int, sessionRange);
        DevDatas connected;
        connected.rangeCode = connectedRange;
        PowerSink page;
        page.setIdentity(&connected);
        HistoryStore::Record record;
        record.family = HistoryRecorder::familyOf(PageType::Opm);
        record.payload = Payload;

        QCOMPARE(HistoryReplay::fill(&page, {record}, sessionRange), 1);
        QFETCH(QString, replayed);
        QCOMPARE(page.powers, QStringList{replayed});
        // The connected meter's identity is as it was, and the page's next
        // frame decodes by it again.
        QCOMPARE(connected.rangeCode, connectedRange);
        QCOMPARE(page.identity(), &connected);
        page.clearDatas();
        QCOMPARE(page.frame()->feed(HistoryReplay::answerOf(record)), DataOk);
        page.fillDatas();
        QTEST(page.powers.value(0), "connectedAfter");
    }
};

LUMISK_TEST(TestHistoryReplay)
#include "tst_historyreplay.moc"
