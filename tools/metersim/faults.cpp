#include "faults.h"

#include <QStringList>

namespace {
// Bytes a noisy line puts before an answer (no start byte among them).
const QByteArray JunkBytes = QByteArray::fromHex("AA5500FF13");

constexpr int MaxRandomHitsPerRecord = 2;

qint64 requestKey(const Request &request)
{
    return (qint64(request.requestClass) << 40) | (qint64(request.command) << 32) | quint32(request.recordNumber());
}
} // namespace

bool FaultTarget::matches(const Request &request) const
{
    if (request.isRecordRequest())
        return anyRecord || records.contains(request.recordNumber());
    switch (request.command) {
    case Meter::DevType:
    case Meter::DevModel:
    case Meter::DevVersion:
        return request.requestClass == Meter::QueryClass ? identity : clock;
    case Meter::OpmCount:
    case Meter::MultiCount:
    case Meter::PonCount:
        return counts;
    case Meter::RealTime:
        return realTime;
    default:
        return clock;
    }
}

bool Fault::firstTimes(const Request &request)
{
    if (!enabled || !target.matches(request))
        return false;
    int &count = firedFor[requestKey(request)];
    if (count >= value)
        return false;
    ++count;
    return true;
}

bool Faults::parse(const QString &text, bool valueOptional, bool perRequest, Fault *fault, QString *error)
{
    fault->enabled = true;
    const int at = text.indexOf(QLatin1Char('@'));
    const QString value = at < 0 ? text : text.left(at);
    if (!value.isEmpty()) {
        bool ok = false;
        fault->value = value.toInt(&ok);
        if (!ok || fault->value < 0) {
            *error = QStringLiteral("bad count '%1'").arg(value);
            return false;
        }
    } else if (!valueOptional) {
        *error = QStringLiteral("a number is needed");
        return false;
    }
    FaultTarget &target = fault->target;
    if (at < 0) {
        target.anyRecord = true;
        target.identity = target.counts = target.realTime = target.clock = !perRequest;
        return true;
    }
    const QStringList tokens = text.mid(at + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (tokens.isEmpty()) {
        *error = QStringLiteral("no target after '@'");
        return false;
    }
    for (const QString &token : tokens) {
        if (token == QLatin1String("all")) {
            target.anyRecord = target.identity = target.counts = target.realTime = target.clock = true;
        } else if (token == QLatin1String("records")) {
            target.anyRecord = true;
        } else if (token == QLatin1String("id")) {
            target.identity = true;
        } else if (token == QLatin1String("count")) {
            target.counts = true;
        } else if (token == QLatin1String("rt")) {
            target.realTime = true;
        } else if (token == QLatin1String("clock")) {
            target.clock = true;
        } else {
            const QStringList bounds = token.split(QLatin1Char('-'));
            bool okFirst = false;
            bool okLast = true;
            const int first = bounds.first().toInt(&okFirst);
            const int last = bounds.size() == 2 ? bounds.last().toInt(&okLast) : first;
            if (!okFirst || !okLast || bounds.size() > 2 || last < first || last - first > 65535) {
                *error = QStringLiteral("bad target '%1'").arg(token);
                return false;
            }
            for (int n = first; n <= last; ++n)
                target.records.insert(n);
        }
    }
    return true;
}

bool Faults::parseTruncate(const QString &text, QString *error)
{
    const int at = text.indexOf(QLatin1Char('@'));
    const QString counts = at < 0 ? text : text.left(at);
    const QString targets = at < 0 ? QString() : text.mid(at);
    const int colon = counts.indexOf(QLatin1Char(':'));
    const QString bytes = colon < 0 ? counts : counts.left(colon);
    bool ok = false;
    truncateBytes = bytes.toInt(&ok);
    if (!ok || truncateBytes < 1) {
        *error = QStringLiteral("bad byte count '%1'").arg(bytes);
        return false;
    }
    const QString times = colon < 0 ? QString() : counts.mid(colon + 1);
    if (colon >= 0 && times.isEmpty()) {
        *error = QStringLiteral("a number is needed after ':'");
        return false;
    }
    return parse(times + targets, true, true, &truncate, error);
}

Decision Faults::decide(const Request &request)
{
    Decision decision;
    if (unplugAfter.enabled && unplugAfter.target.matches(request)) {
        if (unplugAfter.matched >= unplugAfter.value) {
            decision.action = Decision::Unplug;
            return decision;
        }
        ++unplugAfter.matched;
    }
    if (silentAfter.enabled && silentAfter.target.matches(request)) {
        if (silentAfter.matched >= silentAfter.value) {
            decision.action = Decision::Silent;
            return decision;
        }
        ++silentAfter.matched;
    }
    if (needReinit.firstTimes(request))
        decision.status = wire::StatusNeedReinit;
    else if (busy.firstTimes(request))
        decision.status = wire::StatusBusy;
    else if (notReady.firstTimes(request))
        decision.status = wire::StatusNotReady;
    decision.corrupt = badChecksum.firstTimes(request);
    if (junk.firstTimes(request))
        decision.junk = JunkBytes;
    if (randomPercent > 0 && request.isRecordRequest() && decision.status == 0 && !decision.corrupt
        && decision.junk.isEmpty() && int(nextRandom() % 100) < randomPercent) {
        int &hits = randomHits[requestKey(request)];
        if (hits < MaxRandomHitsPerRecord) {
            ++hits;
            switch (nextRandom() % 5) {
            case 0: decision.status = wire::StatusBusy; break;
            case 1: decision.status = wire::StatusNotReady; break;
            case 2: decision.status = wire::StatusNeedReinit; break;
            case 3: decision.corrupt = true; break;
            default: decision.junk = JunkBytes; break;
            }
        }
    }
    if (truncate.firstTimes(request))
        decision.cutBytes = truncateBytes;
    if (trickle.enabled && trickle.target.matches(request))
        decision.trickleBaud = trickle.value;
    return decision;
}

void Faults::setRandomFaults(int percent, quint32 seed)
{
    randomPercent = percent;
    randomState = seed == 0 ? 1 : seed;
}

quint32 Faults::nextRandom()
{
    // xorshift32: the same seed gives the same faults on every run.
    randomState ^= randomState << 13;
    randomState ^= randomState >> 17;
    randomState ^= randomState << 5;
    return randomState;
}
