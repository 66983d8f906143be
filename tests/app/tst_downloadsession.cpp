// A download session driven by scripted meter results, without widgets: what
// goes on the wire after each answer.

#include "app/downloadsession.h"
#include "link/commands.h"
#include "link/requestledger.h"
#include "link/uartworker.h"
#include "link/valuecountframe.h"
#include "testregistry.h"
#include "views/baseformlogic.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A record store that only counts what it was given.
class CountingPage : public BaseFormLogic
{
public:
    CountingPage() { createFrame(); }
    int currentPage() override { return 0; }
    void setCurrentPage(int) override {}
    Frame *frame() override { return ownedFrame; }
    int nextItemNumber() override { return stored + 1; }
    void fillDatas() override
    {
        ++stored;
        renewFrame();
    }
    void gotoPage(int) override {}
    void createFrame() override { ownedFrame = new Frame; }
    void clearDatas() override { stored = 0; }
    int itemCount() const override { return stored; }
    int stored = 0;
};

} // namespace

class tst_downloadsession : public QObject
{
    Q_OBJECT
    CountingPage page;
    PageEntry entry;
    QList<QByteArray> wire;
    QList<Frame *> frames;
    DownloadSession *session = nullptr;

    // The worker's answer to the oldest request: the ledger takes it off,
    // then the session sees it, as in the window.
    void answer(ParseResult result, const QByteArray &countAnswer = QByteArray())
    {
        QVERIFY(!frames.isEmpty());
        Frame *frame = frames.takeFirst();
        if (!countAnswer.isEmpty())
            QCOMPARE(frame->feed(QByteArray::fromHex(countAnswer)), DataOk);
        emit UartWorker::instance()->responsed(result);
        if (session->owns(frame))
            session->handle(result, frame, true);
    }

private slots:
    void init()
    {
        entry = PageEntry{PageType::Opm, nullptr, nullptr, &page, &Command::opmCount,
                          &Command::singleWaveRecord, 0, {}};
        wire.clear();
        frames.clear();
        session = new DownloadSession(RequestLedger::instance(), [this](const QByteArray &data, Frame *frame) {
            RequestLedger::instance()->sent(frame);
            wire << data;
            frames << frame;
        });
    }
    void cleanup()
    {
        while (!frames.isEmpty())
            answer(OtherStatus);
        delete session;
    }

    void countThenRecordsThenEnd()
    {
        QSignalSpy count(session, &DownloadSession::countKnown);
        QSignalSpy ended(session, &DownloadSession::ended);
        session->start(entry);
        QCOMPARE(wire, QList<QByteArray>{Command::opmCount()});
        answer(DataOk, "3f020100002a6c"); // 42 records
        QCOMPARE(count.count(), 1);
        QCOMPARE(count.first().first().toInt(), 42);
        QVERIFY(!session->countPending());
        answer(DataOk);
        answer(DataOk);
        QCOMPARE(page.stored, 2);
        QCOMPARE(wire.mid(1), (QList<QByteArray>{Command::singleWaveRecord(1), Command::singleWaveRecord(2),
                                                 Command::singleWaveRecord(3)}));
        answer(Aborted);
        QCOMPARE(ended.count(), 1);
    }

    // Busy answers are asked again five times in a row, then no more; a
    // garbled count is asked for as the count again, a garbled record as the
    // same record.
    void retries()
    {
        session->start(entry);
        answer(CheckFailed);
        QCOMPARE(wire.last(), Command::opmCount());
        answer(DataOk, "3f020100002a6c");
        answer(CheckFailed);
        QCOMPARE(wire.mid(2), (QList<QByteArray>{Command::singleWaveRecord(1), Command::singleWaveRecord(1)}));
        for (int i = 0; i < 6; ++i)
            answer(Busy);
        QCOMPARE(wire.count(), 4 + 5);
        QVERIFY(frames.isEmpty());
    }

    // Resumed after the link came back: the count when it never came, the
    // next record once it had.
    void resume()
    {
        session->start(entry);
        answer(OtherStatus);
        session->resume();
        QCOMPARE(wire.last(), Command::opmCount());
        answer(DataOk, "3f020100002a6c");
        answer(OtherStatus);
        session->resume();
        QCOMPARE(wire.last(), Command::singleWaveRecord(1));
    }

    // A page without records ends its download with the count's answer
    // instead of waiting for records it will never ask for.
    void pageWithoutRecordsEndsAfterTheCount()
    {
        PageEntry fttx{PageType::Fttx, nullptr, nullptr, nullptr, &Command::ponCount, nullptr, 0, {}};
        QSignalSpy ended(session, &DownloadSession::ended);
        session->start(fttx);
        answer(DataOk, "3f020100002a6c");
        QCOMPARE(ended.count(), 1);
        QCOMPARE(wire, QList<QByteArray>{Command::ponCount()});
    }

    // A finished download's request still out counts for nothing, and the
    // next download starts with a fresh count.
    void finishedDownloadOwnsNothing()
    {
        session->start(entry);
        Frame *countFrame = frames.first();
        session->finish();
        QVERIFY(!session->owns(countFrame));
        session->start(entry);
        QVERIFY(frames.last() != countFrame);
        QVERIFY(session->countPending());
    }
};

LUMISK_TEST(tst_downloadsession)
#include "tst_downloadsession.moc"
