#pragma once
// Custody of the frames that travel to the link worker with a request.
//
// A frame sent with a request is filled on the worker's thread until the
// result of that request has been delivered back. The worker answers every
// request exactly once and in the order received, so the ledger keeps the
// frames in sending order and takes the oldest off with each result. An owner
// that wants to be rid of a frame while it is still out (a download stopped in
// the middle of an exchange, a window being rebuilt) retires it here instead
// of deleting it; the ledger deletes it once its last result is in.
//
// The ledger lives for the whole process, like the worker: results of
// requests sent by a window that has since been destroyed still arrive.

#include "link/frame.h"

#include <QList>
#include <QObject>
#include <QSet>

class RequestLedger : public QObject
{
    Q_OBJECT
public:
    // The process-wide ledger. Its first call connects it to the worker's
    // results, before any window does, so that it has taken a result's frame
    // off the queue when the window's own slot sees the result.
    static RequestLedger *instance();

    // Records a request sent with this frame.
    void sent(Frame *frame);
    bool isInFlight(const Frame *frame) const;
    int inFlightCount() const { return queue.size(); }
    // Gives the frame up: deleted at once when no request holds it, otherwise
    // once the last result for it has been delivered.
    void retire(Frame *frame);

    // The frame of the result being delivered now; null when that result
    // belongs to no recorded request.
    Frame *deliveredFrame() const { return current; }
    // The frame of the result being delivered now was retired: its owner has
    // moved on and nothing of the answer is to be used.
    bool deliveredFrameRetired() const { return currentRetired; }

private:
    explicit RequestLedger(QObject *parent = nullptr);
    void delivered();

    QList<Frame *> queue;
    QSet<Frame *> retired;
    Frame *current = nullptr;
    bool currentRetired = false;
};
