#include "session/metersession.h"

#include "domain/baseformlogic.h"
#include "link/commands.h"
#include "link/requestledger.h"
#include "link/uartworker.h"
#include "session/clocksetting.h"
#include "session/historyrecorder.h"

#include <QTimer>

namespace {
// The download goes on this long after the link is back.
constexpr int ResumeAfterReopenMs = 10;
} // namespace

MeterSession::Link MeterSession::through(UartWorker *worker)
{
    return {RequestLedger::instance(), [worker]() { return worker->isPortAlive(); },
            DownloadSession::followingThrough(worker)};
}

MeterSession::MeterSession(const Link &link, QObject *parent) : QObject(parent), link(link)
{
    const auto sender = [this](const QByteArray &data, Frame *frame) { send(data, frame); };
    downloads = new DownloadSession(link.ledger, sender, link.follower, this);
    clockSetting = new ClockSetting(link.ledger, sender, link.portAlive, this);
    connect(downloads, &DownloadSession::began, this, [this]() { garbledInARow = 0; });
}

void MeterSession::keepIn(HistoryRecorder *history)
{
    connect(downloads, &DownloadSession::began, history, &HistoryRecorder::beginDownload);
    connect(downloads, &DownloadSession::recordArrived, history, &HistoryRecorder::record);
    connect(downloads, &DownloadSession::stopped, history, &HistoryRecorder::endDownload);
    connect(this, &MeterSession::liveReading, history, &HistoryRecorder::liveReading);
}

void MeterSession::send(const QByteArray &data, Frame *frame)
{
    // A frame that no request holds may still carry an answer that arrived
    // after its owner stopped waiting; the next answer must start from nothing.
    if (!link.ledger->isInFlight(frame))
        frame->reset();
    link.ledger->sent(frame);
    emit request(data, frame);
}

void MeterSession::route(ParseResult result)
{
    Frame *const answered = link.ledger->deliveredFrame();
    if (!answered || link.ledger->deliveredFrameRetired())
        return;
    if (downloads->owns(answered))
        routeDownload(result, answered);
    else if (live.current && answered == live.current() && live.wanted && live.wanted())
        routeLive(result, answered);
    else if (clockSetting->owns(answered))
        routeClock(result);
}

void MeterSession::routeDownload(ParseResult result, Frame *answered)
{
    if (result == DataOk && !link.portAlive()) {
        downloads->handle(result, answered, false);
        emit meterGone();
        return;
    }
    if (result == NeedReinit) {
        reopening = true;
        emit reinitNeeded();
        return;
    }
    if (result == CheckFailed && garbledLimit > 0 && ++garbledInARow > garbledLimit) {
        emit downloadStuck(CheckFailed);
        return;
    }
    if (result == DataOk)
        garbledInARow = 0;
    const bool wanted = downloadWanted();
    downloads->handle(result, answered, wanted);
    // Nothing more asked for and not ended (nor waiting for the link): the
    // meter has given up on us.
    if (wanted && downloads->isRunning() && !downloads->requestOut() && !reopening)
        emit downloadStuck(result);
}

void MeterSession::routeLive(ParseResult result, Frame *answered)
{
    if (result == DataOk && !link.portAlive()) {
        emit meterGone();
        return;
    }
    if (result == DataOk) {
        emit liveReading(answered, QDateTime::currentDateTime());
    } else if (result == NeedReinit) {
        reopening = true;
        emit reinitNeeded();
    }
    emit liveAnswered(result);
}

void MeterSession::routeClock(ParseResult result)
{
    // The identity commands' answers land in frames the setting has already
    // given up: only the clock command's answer comes here.
    if (result == CommandDone) {
        clockSetting->drop();
        emit clockSet();
    } else if (result == NoRtc) {
        clockSetting->drop();
        emit clockHasNoRtc();
    } else {
        emit clockRefused(result);
    }
}

void MeterSession::askForReading()
{
    Frame *frame = live.current ? live.current() : nullptr;
    if (frame && !link.ledger->isInFlight(frame))
        send(Command::realTimeValue(), frame);
}

void MeterSession::reopened()
{
    reopening = false;
    QTimer::singleShot(ResumeAfterReopenMs, this, [this]() {
        // The user may have stopped the download meanwhile.
        if (downloads->isRunning())
            downloads->resume();
    });
    clockSetting->drop();
}

void MeterSession::replaceFrame(BaseFormLogic *records)
{
    if (!records)
        return;
    if (link.ledger->isInFlight(records->frame())) {
        link.ledger->retire(records->frame());
        records->createFrame();
    } else {
        records->renewFrame();
    }
}

void MeterSession::replaceLiveFrame()
{
    if (!live.current)
        return;
    link.ledger->retire(live.current());
    live.create();
}

void MeterSession::handOver(const QList<PageEntry> &pages)
{
    for (const PageEntry &page : pages) {
        if (page.records && link.ledger->isInFlight(page.records->frame()))
            replaceFrame(page.records);
    }
    if (live.current && link.ledger->isInFlight(live.current()))
        replaceLiveFrame();
}

void MeterSession::giveUp(Frame *frame)
{
    link.ledger->retire(frame);
}
