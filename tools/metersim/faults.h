#pragma once
// Faults the simulated meter can be told to show, each limited to chosen
// requests: "N@5,7" (records 5 and 7), "N@3-9", or the words all, records,
// id (identity), count, rt (real-time), clock.

#include "meter.h"

#include <QHash>
#include <QSet>
#include <QString>

struct FaultTarget {
    QSet<int> records;
    bool anyRecord = false;
    bool identity = false;
    bool counts = false;
    bool realTime = false;
    bool clock = false;
    bool matches(const Request &request) const;
};

struct Fault {
    bool enabled = false;
    int value = 1; // a count, or the line rate of a trickle
    FaultTarget target;
    QHash<qint64, int> firedFor; // per request (command and record) so far
    int matched = 0;             // requests matched so far
    // The first `value` times a given request arrives.
    bool firstTimes(const Request &request);
};

struct Decision {
    enum Action { Answer, Silent, Unplug };
    Action action = Answer;
    quint8 status = 0;      // answer this status instead of the real answer
    bool corrupt = false;   // spoil the checksum
    QByteArray junk;        // written before the answer
    int trickleBaud = 0;    // write the answer byte by byte at this rate
    int cutBytes = 0;       // drop this many bytes from the end of the answer
};

class Faults
{
public:
    // Parses "N", "N@targets" or, with valueOptional, also "" and "@targets".
    // Faults that repeat per request default to record requests, the others
    // to every request.
    static bool parse(const QString &text, bool valueOptional, bool perRequest, Fault *fault, QString *error);
    // Parses "N[:TIMES][@targets]" for a cut answer: N bytes lost, the first
    // TIMES (default 1) times each targeted request arrives.
    bool parseTruncate(const QString &text, QString *error);

    Decision decide(const Request &request);

    // Spoils this share (per cent) of the record answers with a busy,
    // not-ready, need-reinit, bad-checksum or junk answer, drawn from a
    // seeded generator; one record is hit at most twice, so a client that
    // retries always gets its answer in the end.
    void setRandomFaults(int percent, quint32 seed);

    Fault busy;
    Fault notReady;
    Fault badChecksum;
    Fault junk;
    Fault needReinit;
    Fault trickle;
    Fault silentAfter;
    Fault unplugAfter;
    Fault truncate;
    int truncateBytes = 0;

private:
    quint32 nextRandom();
    int randomPercent = 0;
    quint32 randomState = 1;
    QHash<qint64, int> randomHits;
};
