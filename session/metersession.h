#pragma once
// The conversation with the meter, as the window and lumisk-cli both hold it.
// Every request goes out through here: its frame is recorded with the ledger
// as out with the worker, and stays the worker's until its answer is in.
// Every answer the worker reports comes back through here and goes to what
// asked for it: the download, the live run or the clock setting. An answer
// into a frame its owner has given up belongs to a request that no longer
// matters; one into a frame of nothing running now has nothing to say about
// what runs now: both are dropped. What happened is said with signals; the
// window draws it, the command line prints it.

#include "domain/pages.h"
#include "link/frame.h"
#include "session/downloadsession.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <functional>

class BaseFormLogic;
class ClockSetting;
class HistoryRecorder;
class RequestLedger;
class UartWorker;

class MeterSession : public QObject
{
    Q_OBJECT
public:
    // What the session needs of the link.
    struct Link {
        RequestLedger *ledger = nullptr;
        std::function<bool()> portAlive;
        // Following requests of a download; without them, one request at a time.
        DownloadSession::Follower follower;
    };
    // The link worker's: the process-wide ledger, the port's state and
    // following requests queued with the worker.
    static Link through(UartWorker *worker);

    // The frame live readings come into, as its holder keeps it (the chart
    // page, the command line's run).
    struct LiveFrame {
        std::function<Frame *()> current;
        // Gives the holder a fresh frame; the old one is the ledger's by then.
        std::function<void()> create;
        // A reading that comes now is taken (a run goes on the page shown).
        std::function<bool()> wanted;
    };

    explicit MeterSession(const Link &link, QObject *parent = nullptr);

    DownloadSession *download() const { return downloads; }
    ClockSetting *clock() const { return clockSetting; }
    RequestLedger *ledger() const { return link.ledger; }

    // The download asks for its next record only while this holds (the
    // window's download button is down); always when not set.
    void setDownloadWanted(std::function<bool()> wanted) { downloadWanted = std::move(wanted); }
    // More garbled answers in a row than this, and the download asks no more
    // and is stuck; 0 (the default) asks again for as long as the user waits.
    void setGarbledLimit(int limit) { garbledLimit = limit; }
    void setLiveFrame(LiveFrame frame) { live = std::move(frame); }
    // What arrives is kept in the measurement history too: each download and
    // each live reading, before anyone else takes it out of its frame.
    void keepIn(HistoryRecorder *history);

    // Sends one request, answered into `frame`.
    void send(const QByteArray &data, Frame *frame);
    // The worker's result of the oldest request out (after the ledger has
    // named its frame): goes to what asked for it.
    void route(ParseResult result);

    // A live reading, unless the last one is still on its way (then this
    // turn is skipped rather than sent into a frame the worker is filling).
    void askForReading();

    // The link is back after the meter asked for it to be opened again: a
    // download still running goes on shortly; a clock setting is given up.
    void reopened();
    // The link did not come back.
    void reopenFailed() { reopening = false; }
    // The meter asked for the link to be opened again and it is not back yet.
    bool reopenPending() const { return reopening; }

    // Frame custody. A record page's frame is renewed; when a request still
    // holds it, the ledger keeps it until its answer is in and the page gets
    // a fresh one. No store (a page without records): nothing to do.
    void replaceFrame(BaseFormLogic *records);
    // The live frame is handed to the ledger and its holder makes a fresh one.
    void replaceLiveFrame();
    // The holders go (the window closes): every frame still out is the
    // ledger's from now on, and each holder (the pages' record stores, the
    // live frame's) gets a fresh one to delete with itself.
    void handOver(const QList<PageEntry> &pages);
    // The frame is the ledger's: deleted now or once its answer is in.
    void giveUp(Frame *frame);

signals:
    // To the link worker.
    void request(QByteArray data, Frame *frame);
    // A whole answer came after the port had gone (the next request may
    // already have found it gone): a record in it is kept, nothing more is
    // asked for.
    void meterGone();
    // The meter wants the link opened again; the download or live run goes
    // on once it is back (reopened()).
    void reinitNeeded();
    // The download asks for nothing more and has not ended: the meter gave
    // up on it (the last result), or its answers kept arriving garbled
    // (CheckFailed).
    void downloadStuck(ParseResult last);
    // A live reading in `frame`, arrived at `arrival`: the one time every
    // output shows for it.
    void liveReading(const Frame *frame, const QDateTime &arrival);
    // Any answer of the live run that was taken, after what it brought.
    void liveAnswered(ParseResult result);
    void clockSet();
    void clockHasNoRtc();
    void clockRefused(ParseResult result);

private:
    void routeDownload(ParseResult result, Frame *answered);
    void routeLive(ParseResult result, Frame *answered);
    void routeClock(ParseResult result);

    Link link;
    DownloadSession *downloads;
    ClockSetting *clockSetting;
    std::function<bool()> downloadWanted = [] { return true; };
    LiveFrame live;
    int garbledLimit = 0;
    int garbledInARow = 0;
    bool reopening = false;
};
