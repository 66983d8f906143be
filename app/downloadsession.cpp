#include "app/downloadsession.h"

#include "link/requestledger.h"
#include "link/valuecountframe.h"
#include "views/baseformlogic.h"

namespace {
constexpr int MaxBusyRetries = 5;
}

DownloadSession::DownloadSession(RequestLedger *ledger, Sender send, QObject *parent)
    : QObject(parent), ledger(ledger), send(std::move(send)), countFrame(new ValueCountFrame)
{
}

DownloadSession::~DownloadSession()
{
    // The count frame may still be out with the worker.
    ledger->retire(countFrame);
}

void DownloadSession::start(const PageEntry &entry)
{
    page = entry;
    countFrame->reset();
    running = true;
    busyRetries = 0;
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
    // A count request may be out too; its answer must not count for the next
    // download.
    if (ledger->isInFlight(countFrame)) {
        ledger->retire(countFrame);
        countFrame = new ValueCountFrame;
    }
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
    return running && frame && (frame == countFrame || (page.records && frame == page.records->frame()));
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
    const int number = on.records->nextItemNumber() + on.numberOffset;
    send(on.recordRequest(number), on.records->frame());
}

void DownloadSession::requestAgain(const PageEntry &on)
{
    if (!on.records || !on.recordRequest || requestOut(on))
        return;
    send(on.recordRequest(on.records->itemCount() + 1), on.records->frame());
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
        }
        if (wanted)
            requestNext();
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
    default:
        break;
    }
}
