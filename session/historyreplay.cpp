#include "session/historyreplay.h"

#include "session/historyrecorder.h"
#include "link/devdatas.h"
#include "link/frame.h"
#include "domain/baseformlogic.h"

namespace HistoryReplay {

namespace {

// Any non-zero answer code makes a data answer.
constexpr quint8 DataCode = 0x01;

// A stored verdict as the meter sends it: 1 pass, 2 warning, 3 fail, 0 none.
quint8 verdictNibble(int verdict)
{
    return (verdict >= 0 && verdict <= 2) ? quint8(verdict + 1) : 0;
}

} // namespace

PageType pageOf(const QString &kind)
{
    const PageType type = History::pageOf(kind);
    return hasRecords(type) ? type : PageType::None;
}

QByteArray answerOf(const HistoryStore::Record &record)
{
    quint8 fourth = 0;
    if (History::pageOf(record.family) == PageType::Partial) {
        if (!record.readings.isEmpty())
            fourth |= verdictNibble(record.readings.at(0).verdict);
        if (record.readings.size() > 1)
            fourth |= quint8(verdictNibble(record.readings.at(1).verdict) << 4);
    }
    QByteArray answer;
    answer.append(Frame::StartByte);
    answer.append(char(quint8(record.payload.size())));
    answer.append(char(DataCode));
    answer.append(char(fourth));
    answer.append(record.payload);
    answer.append(char(byteSum(answer)));
    return answer;
}

int fill(BaseFormLogic *page, const QList<HistoryStore::Record> &records, int rangeCode)
{
    page->clearDatas();
    // The power texts depend on the meter's range code: the page decodes
    // with the one of the session, then with the meter it had before. The
    // connected meter's own identity is not touched: the link may be
    // decoding its answers meanwhile.
    const DevDatas *connected = page->identity();
    DevDatas recorded = connected ? *connected : DevDatas();
    recorded.rangeCode = rangeCode;
    page->setIdentity(&recorded);
    int taken = 0;
    for (const HistoryStore::Record &record : records) {
        // The length byte cannot describe a longer payload.
        if (record.payload.size() > 0xFF)
            continue;
        Frame *frame = page->frame();
        frame->reset();
        if (frame->feed(answerOf(record)) != DataOk)
            continue;
        page->fillDatas();
        ++taken;
    }
    page->setIdentity(connected);
    return taken;
}

} // namespace HistoryReplay
