#pragma once
// Puts the records of a stored download back into a record page: each record
// is decoded again, through the page's own frame, from the answer the meter
// gave for it, so the page (and its report) holds what the download brought.

#include "domain/pages.h"
#include "history/historystore.h"

#include <QByteArray>
#include <QList>

class BaseFormLogic;

namespace HistoryReplay {

// The page a session kind's records belong on; None for live runs and
// unknown kinds.
PageType pageOf(const QString &kind);

// The meter's answer for a stored record: its payload under a data answer
// head. The fourth head byte carries the partial-wave verdicts, which the
// store keeps with the readings rather than in the payload.
QByteArray answerOf(const HistoryStore::Record &record);

// Empties `page` and fills it with `records`, decoded with the meter's range
// code of the session. Returns how many records the page took.
int fill(BaseFormLogic *page, const QList<HistoryStore::Record> &records, int rangeCode);

} // namespace HistoryReplay
