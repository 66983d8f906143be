// A download session driven by scripted meter results, without widgets: what
// goes on the wire after each answer.

#include "session/downloadsession.h"
#include "link/commands.h"
#include "link/requestledger.h"
#include "link/uartworker.h"
#include "link/valuecountframe.h"
#include "countingpage.h"
#include "testregistry.h"
#include "domain/baseformlogic.h"

#include <QSignalSpy>
#include <QTest>
#include <optional>

class TestDownloadSession : public QObject
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

    // With a follower the next record's request waits queued with the worker.
    // Whatever the meter answers, it must hear exactly the requests it hears
    // without one, and the page must get the same records: the worker drops
    // a queued request unsent when the exchange before it brought no data or
    // its chain was closed. Meter answers: D data, B busy, N not ready, C
    // garbled, A no further record; H the user is asked whether to stop and
    // goes on after the next answer came, h goes on before it came; S the
    // user stops.
    void followingRequestsChangeNothingTheMeterHears_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("clean") << "DDDDDDA";
        QTest::newRow("busy and not ready") << "DDBDNNDBBBBBB";
        QTest::newRow("garbled") << "DCDDCCDA";
        QTest::newRow("asked whether to stop") << "DDHDDHHDhDhhDA";
        QTest::newRow("stopped") << "DDDS";
        QTest::newRow("end at once") << "DA";
    }
    void followingRequestsChangeNothingTheMeterHears()
    {
        QFETCH(QString, script);
        const Outcome plain = play(script, false);
        const Outcome followed = play(script, true);
        QCOMPARE(followed.heard, plain.heard);
        QCOMPARE(followed.stored, plain.stored);
        QCOMPARE(followed.ended, plain.ended);
        QVERIFY(followed.queuedAhead > 0);
    }

private:
    struct Outcome {
        QList<QByteArray> heard;
        int stored = 0;
        int ended = 0;
        int queuedAhead = 0;
    };

    // Plays the script against a fresh session with a worker stand-in that
    // keeps the requests in order and, as the link worker does, takes up the
    // next one the moment an exchange ends, before the session has seen its
    // result.
    Outcome play(const QString &script, bool withFollower)
    {
        struct Queued {
            QByteArray data;
            Frame *frame;
            bool following;
            quint64 chain;
        };
        QList<Queued> queue;
        std::optional<Queued> onLine;
        QList<QPair<Frame *, ParseResult>> results;
        quint64 open = 0;
        ParseResult last = Incomplete;
        Outcome outcome;
        CountingPage records;
        PageEntry on{PageType::Opm, nullptr, nullptr, &records, &Command::opmCount, &Command::singleWaveRecord, 0, {}};
        const auto takeUp = [&]() {
            while (!onLine && !queue.isEmpty()) {
                const Queued next = queue.takeFirst();
                if (next.following && (next.chain != open || last != DataOk)) {
                    last = Skipped;
                    results << qMakePair(next.frame, Skipped);
                    continue;
                }
                outcome.heard << next.data;
                onLine = next;
            }
        };
        DownloadSession::Follower follower;
        if (withFollower) {
            follower.send = [&](const QByteArray &data, Frame *frame, quint64 chain) {
                queue << Queued{data, frame, true, chain};
                ++outcome.queuedAhead;
                takeUp();
            };
            follower.open = [&](quint64 chain) { open = chain; };
        }
        DownloadSession played(
            RequestLedger::instance(),
            [&](const QByteArray &data, Frame *frame) {
                RequestLedger::instance()->sent(frame);
                queue << Queued{data, frame, false, 0};
                takeUp();
            },
            follower);
        QSignalSpy ended(&played, &DownloadSession::ended);
        bool wanted = true;
        // The session sees the results in order, as the ledger hands them on.
        const auto deliver = [&]() {
            while (!results.isEmpty()) {
                const auto [frame, result] = results.takeFirst();
                emit UartWorker::instance()->responsed(result);
                if (!RequestLedger::instance()->deliveredFrameRetired() && played.owns(frame))
                    played.handle(result, frame, wanted);
            }
        };
        const auto meter = [&](ParseResult result, const QByteArray &countAnswer = QByteArray()) {
            takeUp();
            deliver();
            if (!onLine)
                return;
            if (!countAnswer.isEmpty())
                onLine->frame->feed(QByteArray::fromHex(countAnswer));
            last = result;
            results << qMakePair(onLine->frame, result);
            onLine.reset();
            takeUp();
            deliver();
        };
        played.start(on);
        meter(DataOk, "3f020100002a6c");
        for (const QChar step : script) {
            switch (step.toLatin1()) {
            case 'D': meter(DataOk); break;
            case 'B': meter(Busy); break;
            case 'N': meter(NotReady); break;
            case 'C': meter(CheckFailed); break;
            case 'A': meter(Aborted); break;
            case 'H':
                // Asked while the next answer is on its way; it arrives
                // meanwhile, then the user goes on.
                wanted = false;
                played.hold();
                meter(DataOk);
                wanted = true;
                played.requestNext();
                break;
            case 'h':
                played.hold();
                played.requestNext();
                meter(DataOk);
                break;
            case 'S':
                played.finish();
                break;
            }
        }
        // Whatever is still queued reaches the worker after the end.
        played.finish();
        while (onLine || !queue.isEmpty() || !results.isEmpty())
            meter(OtherStatus);
        outcome.stored = records.stored;
        outcome.ended = ended.count();
        return outcome;
    }
};

LUMISK_TEST(TestDownloadSession)
#include "tst_downloadsession.moc"
