#pragma once
// One download of stored records into a record page: the count first, then
// every record by number, one request at a time. Busy and not-ready answers
// are asked again up to five times in a row, a garbled answer is asked again
// for the same record, and a need-reinit answer is resumed once the link is
// back. The session only asks for sends and says how far it got; the window
// draws and decides when the user wants to stop.

#include "app/pages.h"
#include "link/frame.h"

#include <QObject>
#include <functional>

class RequestLedger;
class ValueCountFrame;

class DownloadSession : public QObject
{
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray &, Frame *)>;

    DownloadSession(RequestLedger *ledger, Sender send, QObject *parent = nullptr);
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

    RequestLedger *ledger;
    Sender send;
    PageEntry page;
    ValueCountFrame *countFrame;
    bool running = false;
    bool waitingForCount = false;
    int busyRetries = 0;
};
