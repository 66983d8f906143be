#pragma once
// One download of stored records into a record page: the count first, then
// every record by number, one request at a time. Busy and not-ready answers
// are asked again up to five times in a row, a garbled answer is asked again
// for the same record, and a need-reinit answer is resumed once the link is
// back. The session only asks for sends and says how far it got; the window
// draws and decides when the user wants to stop.
//
// Given a follower, the session keeps the request for the record after the
// one on the line queued with the worker as well: the worker sends it the
// moment the answer before it is complete and brought data, so the line does
// not wait for the window between records. The meter is still asked one
// thing at a time and hears exactly what it would hear otherwise; a queued
// request whose predecessor failed is dropped by the worker unsent.

#include "domain/pages.h"
#include "link/frame.h"

#include <QObject>
#include <functional>

class RequestLedger;
class UartWorker;
class ValueCountFrame;

class DownloadSession : public QObject
{
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray &, Frame *)>;
    // Queues a following request of the chain given (UartWorker::requestFollowing).
    using FollowingSender = std::function<void(const QByteArray &, Frame *, quint64 chain)>;
    // Opens a chain (0 closes every chain) (UartWorker::openChain).
    using ChainOpener = std::function<void(quint64 chain)>;
    struct Follower {
        FollowingSender send;
        ChainOpener open;
    };

    // Following requests queued with this worker, behind the requests the
    // sender hands it.
    static Follower followingThrough(UartWorker *worker);

    DownloadSession(RequestLedger *ledger, Sender send, QObject *parent = nullptr);
    DownloadSession(RequestLedger *ledger, Sender send, Follower follower, QObject *parent = nullptr);
    ~DownloadSession() override;

    // Starts on this page with the count request. A page without records
    // (FTTx) gets the count request and ends with its answer.
    void start(const PageEntry &page);
    // Ends the download; frames still out with the worker are given up so
    // that their answers count for nothing.
    void finish();

    bool isRunning() const { return running; }
    // The count has not been answered yet.
    bool countPending() const { return waitingForCount; }
    // This frame went out with one of this download's requests.
    bool owns(const Frame *frame) const;
    bool isCountFrame(const Frame *frame) const;
    // A request of this download is still out.
    bool requestOut() const { return requestOut(page); }

    // The next record (by the page's own numbering), on this download's page
    // or on the one given.
    void requestNext() { requestNext(page); }
    void requestNext(const PageEntry &on);
    // The record in flight once more, after a garbled answer.
    void requestAgain() { requestAgain(page); }
    void requestAgain(const PageEntry &on);
    // After the link came back: the count when it never came, else the next record.
    void resume();
    // The user is asked whether to stop: nothing more is queued meanwhile.
    void hold();

    // A result of one of this download's frames. `wanted`: the user still
    // wants the download (its button is checked).
    void handle(ParseResult result, const Frame *answered, bool wanted);

signals:
    // A download began on this page / ended (finish()); for the history.
    void began(PageType type);
    void stopped();
    // A record page's frame holds a decoded record, just before the page takes it.
    void recordArrived(PageType type, const Frame *frame);
    void countKnown(int count);
    // A record is about to be stored: the progress bar's value.
    void progress(int value);
    // The meter has no further record.
    void ended();

private:
    void sendCount();
    bool requestOut(const PageEntry &on) const;
    void sendRecord(const PageEntry &on, int number);
    // Queues the following request when the page's frame is out and nothing
    // follows it yet.
    void queueFollowing();
    // The following frame becomes the page's frame once the record before it
    // has been taken.
    void promoteFollowing();
    void dropFollowing();

    RequestLedger *ledger;
    Sender send;
    Follower follower;
    // The frame of the queued following request, and the record numbers of
    // the page's request and the following one.
    Frame *following = nullptr;
    int pageNumber = 0;
    int followingNumber = 0;
    quint64 chain = 0;
    bool holding = false;
    PageEntry page;
    ValueCountFrame *countFrame;
    bool running = false;
    bool waitingForCount = false;
    int busyRetries = 0;
};
