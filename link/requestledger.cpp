#include "requestledger.h"

#include "link/uartworker.h"

RequestLedger *RequestLedger::instance()
{
    static RequestLedger *ledger = nullptr;
    if (!ledger) {
        ledger = new RequestLedger;
        connect(UartWorker::instance(), &UartWorker::responsed, ledger, &RequestLedger::delivered);
    }
    return ledger;
}

RequestLedger::RequestLedger(QObject *parent)
    : QObject(parent)
{
}

void RequestLedger::sent(Frame *frame)
{
    queue.append(frame);
}

bool RequestLedger::isInFlight(const Frame *frame) const
{
    return frame && queue.contains(const_cast<Frame *>(frame));
}

void RequestLedger::retire(Frame *frame)
{
    if (!frame)
        return;
    if (isInFlight(frame)) {
        retired.insert(frame);
        return;
    }
    // deleteLater: a window may still be comparing against this pointer in the
    // slot now running, and its address must not come back for a new frame
    // before that slot has returned.
    frame->deleteLater();
}

void RequestLedger::delivered()
{
    current = queue.isEmpty() ? nullptr : queue.takeFirst();
    currentRetired = current && retired.contains(current);
    if (currentRetired && !queue.contains(current)) {
        retired.remove(current);
        current->deleteLater();
    }
}
