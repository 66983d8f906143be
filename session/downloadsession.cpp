#include "session/downloadsession.h"

#include "link/requestledger.h"
#include "link/uartworker.h"
#include "link/valuecountframe.h"
#include "domain/baseformlogic.h"

namespace {
constexpr int MaxBusyRetries = 5;
}

namespace {
// Every download's chain is new, so that a following request left queued by
// an earlier one can never go out.
quint64 nextChain = 0;
}

DownloadSession::Follower DownloadSession::followingThrough(UartWorker *worker)
{
    return {[worker](const QByteArray &data, Frame *frame, quint64 chain) {
                QMetaObject::invokeMethod(
                    worker, [worker, data, frame, chain]() { worker->requestFollowing(data, frame, chain); },
                    Qt::QueuedConnection);
            },
            [worker](quint64 chain) { worker->openChain(chain); }};
}

DownloadSession::DownloadSession(RequestLedger *ledger, Sender send, QObject *parent)
    : DownloadSession(ledger, std::move(send), Follower{}, parent)
{
}

DownloadSession::DownloadSession(RequestLedger *ledger, Sender send, Follower follower, QObject *parent)
    : QObject(parent), ledger(ledger), send(std::move(send)), follower(std::move(follower)),
      countFrame(new ValueCountFrame)
{
}

DownloadSession::~DownloadSession()
{
    // The count frame and the following frame may still be out with the worker.
    ledger->retire(countFrame);
    dropFollowing();
}

void DownloadSession::start(const PageEntry &entry)
{
    page = entry;
    countFrame->reset();
    running = true;
    holding = false;
    busyRetries = 0;
    if (follower.open) {
        chain = ++nextChain;
        follower.open(chain);
    }
    if (BaseFormLogic *records = page.records) {
        records->clearDatas();
        // A record asked for again outside a download (after a garbled answer)
        // may still be out: its answer must not become the first record here.
        if (ledger->isInFlight(records->frame())) {
            ledger->retire(records->frame());
            records->createFrame();
        }
    }
    waitingForCount = true;
    emit began(page.type);
    sendCount();
}

void DownloadSession::finish()
{
    if (running)
        emit stopped();
    running = false;
    waitingForCount = false;
    dropFollowing();
    // A count request may be out too; its answer must not count for the next
    // download.
    if (ledger->isInFlight(countFrame)) {
        ledger->retire(countFrame);
        countFrame = new ValueCountFrame;
    }
}

void DownloadSession::hold()
{
    holding = true;
    if (follower.open)
        follower.open(0);
}

void DownloadSession::dropFollowing()
{
    if (follower.open)
        follower.open(0);
    // Retired while out, whatever it brings counts for nothing; the next
    // download may be on a page of another kind and makes its own.
    if (following)
        ledger->retire(following);
    following = nullptr;
}

void DownloadSession::queueFollowing()
{
    if (!follower.send || !running || holding || !page.records || !page.recordRequest)
        return;
    Frame *current = page.records->frame();
    if (!ledger->isInFlight(current) || (following && ledger->isInFlight(following)))
        return;
    if (!following) {
        // A fresh frame of the page's own kind.
        Frame *kept = page.records->exchangeFrame(nullptr);
        page.records->createFrame();
        following = page.records->exchangeFrame(kept);
    }
    following->reset();
    followingNumber = pageNumber + 1;
    ledger->sent(following);
    follower.send(page.recordRequest(followingNumber), following, chain);
}

void DownloadSession::promoteFollowing()
{
    if (!following || !ledger->isInFlight(following) || !page.records)
        return;
    // The page has just taken its record and made a fresh frame; that one
    // waits here for the next following request.
    following = page.records->exchangeFrame(following);
    pageNumber = followingNumber;
}

void DownloadSession::sendCount()
{
    if (page.countRequest)
        send(page.countRequest(), countFrame);
}

bool DownloadSession::isCountFrame(const Frame *frame) const
{
    return frame == countFrame;
}

bool DownloadSession::owns(const Frame *frame) const
{
    return running && frame
        && (frame == countFrame || frame == following || (page.records && frame == page.records->frame()));
}

bool DownloadSession::requestOut(const PageEntry &on) const
{
    return ledger->isInFlight(countFrame) || (on.records && ledger->isInFlight(on.records->frame()));
}

void DownloadSession::requestNext(const PageEntry &on)
{
    // One request at a time: an answer still to come drives the next request.
    if (!on.records || !on.recordRequest || requestOut(on))
        return;
    sendRecord(on, on.records->nextItemNumber() + on.numberOffset);
}

void DownloadSession::requestAgain(const PageEntry &on)
{
    if (!on.records || !on.recordRequest || requestOut(on))
        return;
    sendRecord(on, on.records->itemCount() + 1);
}

void DownloadSession::sendRecord(const PageEntry &on, int number)
{
    send(on.recordRequest(number), on.records->frame());
    if (on.records != page.records)
        return;
    pageNumber = number;
    holding = false;
    if (follower.open)
        follower.open(chain);
    queueFollowing();
}

void DownloadSession::resume()
{
    // Broken off before the count came: the count first, so that the download
    // still gets its progress bar.
    if (waitingForCount && !requestOut())
        sendCount();
    else
        requestNext();
}

void DownloadSession::handle(ParseResult result, const Frame *answered, bool wanted)
{
    if (answered && answered == following) {
        // Only a dropped following request is answered while it is still the
        // following one: anything it brought arrives as the page's frame.
        queueFollowing();
        return;
    }
    switch (result) {
    case CheckFailed:
        if (!wanted)
            break;
        if (isCountFrame(answered))
            sendCount();
        else
            requestAgain();
        break;
    case DataOk:
        busyRetries = 0;
        if (!page.records) {
            // A page without records (FTTx): once the meter has answered the
            // count there is nothing more to ask for.
            waitingForCount = false;
            emit ended();
            return;
        }
        if (countFrame->countReady) {
            waitingForCount = false;
            const int count = countFrame->count;
            countFrame->setCountReady(false);
            emit countKnown(count);
        } else {
            emit progress(page.records->nextItemNumber());
            emit recordArrived(page.type, page.records->frame());
            page.records->fillDatas();
            promoteFollowing();
        }
        if (wanted) {
            requestNext();
            queueFollowing();
        }
        break;
    case Busy:
    case NotReady:
        if (busyRetries < MaxBusyRetries && wanted) {
            if (isCountFrame(answered))
                sendCount();
            else
                requestNext();
            busyRetries += 1;
        }
        break;
    case Aborted:
        emit ended();
        break;
    case Skipped:
        // A following request that became the page's own was dropped unsent
        // (the user was asked whether to stop): ask for that record now.
        if (wanted)
            requestNext();
        break;
    default:
        break;
    }
}
