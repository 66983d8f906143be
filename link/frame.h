#pragma once
// Every answer of the meter is collected into a Frame: the bytes are
// accumulated across reads, checked (start byte, length, checksum) and, for a
// data answer, decoded by the subclass's parseData().

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <array>

// Outcome of one check of an answer (and of one exchange with the meter).
enum ParseResult {
    Incomplete = 0,   // not all bytes are there yet (or nothing usable arrived)
    CheckFailed = 1,  // wrong start byte or checksum
    DataOk = 2,       // a valid data answer, parseData() has run
    CommandDone = 3,  // status 1
    OtherStatus = 4,  // any status not listed here
    Busy = 5,         // status 3
    NotReady = 6,     // status 4
    Aborted = 7,      // status 5: no further record
    NoRtc = 8,        // status 6: the meter has no clock
    NeedReinit = 9,   // status 2: the meter wants the link opened again
    Skipped = 10,     // a following request not sent: the exchange before it did not bring data
};
Q_DECLARE_METATYPE(ParseResult)

class Frame : public QObject
{
    Q_OBJECT
public:
    // Answer layout: 0x3F, payload length L, answer code, fourth byte,
    // L payload bytes, checksum (low 8 bits of the sum of all bytes before it).
    static constexpr char StartByte = 0x3F;
    static constexpr int HeadSize = 4;
    static constexpr int MinimumAnswerSize = 5;
    static constexpr quint8 Code17 = 0x17;

    explicit Frame(QObject *parent = nullptr);
    ~Frame() override;

    // Appends data, checks what has accumulated and, for a valid data answer,
    // decodes it. Bad, busy, not-ready and reinit answers empty the buffer so
    // that the frame can take the answer to a repeated request.
    ParseResult feed(const QByteArray &data);
    // Forgets the bytes received and everything decoded from them, so that
    // the frame takes the next answer as if new (isCode17 is kept until the
    // next check).
    void reset();
    virtual void parseData();

    bool isCode17 = false;
    QByteArray buffer;
    QByteArray body;
    std::array<quint8, HeadSize> head{};
    QByteArray payload;
    quint8 checksum = 0;

protected:
    ParseResult check();
    // Forgets what parseData() decoded into the subclass's own fields.
    virtual void clearDecoded();
};

// Low 8 bits of the sum of the bytes, each taken unsigned.
quint8 byteSum(const QByteArray &data);

// Registers ParseResult for queued connections (safe to call often).
void registerParseResult();
