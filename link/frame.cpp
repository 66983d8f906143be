#include "frame.h"
#include "link/logging.h"

#include <QDebug>

namespace {
constexpr quint8 StatusCommandDone = 1;
constexpr quint8 StatusNeedReinit = 2;
constexpr quint8 StatusBusy = 3;
constexpr quint8 StatusNotReady = 4;
constexpr quint8 StatusAborted = 5;
constexpr quint8 StatusNoRtc = 6;
} // namespace

quint8 byteSum(const QByteArray &data)
{
    unsigned sum = 0;
    for (char c : data)
        sum += static_cast<quint8>(c);
    return static_cast<quint8>(sum & 0xFF);
}

void registerParseResult()
{
    qRegisterMetaType<ParseResult>("ParseResult");
}

Frame::Frame(QObject *parent)
    : QObject(parent)
{
}

Frame::~Frame() = default;

ParseResult Frame::feed(const QByteArray &data)
{
    buffer.append(data);
    const ParseResult result = check();
    switch (result) {
    case CheckFailed:
    case Busy:
    case NotReady:
    case NeedReinit:
        buffer.clear();
        break;
    case DataOk:
        parseData();
        break;
    default:
        break;
    }
    return result;
}

void Frame::reset()
{
    buffer.clear();
    body.clear();
    payload.clear();
    head.fill(0);
    checksum = 0;
    clearDecoded();
}

void Frame::parseData()
{
}

void Frame::clearDecoded()
{
}

ParseResult Frame::check()
{
    isCode17 = false;
    if (buffer.size() < MinimumAnswerSize)
        return Incomplete;
    for (int i = 0; i < HeadSize; ++i)
        head[i] = static_cast<quint8>(buffer.at(i));
    if (buffer.at(0) != StartByte) {
        qCDebug(lcLink) << "dssss  CheckFalse";
        return CheckFailed;
    }
    const int length = static_cast<quint8>(buffer.at(1));
    const int whole = length + MinimumAnswerSize;
    if (buffer.size() < whole)
        return Incomplete;
    payload = buffer.mid(HeadSize, length);
    if (buffer.size() > whole)
        buffer.truncate(whole); // anything after the answer is dropped
    body = buffer.left(whole - 1);
    checksum = static_cast<quint8>(buffer.at(whole - 1));
    if (byteSum(body) != checksum)
        return CheckFailed;
    const quint8 code = head[2];
    if (code != 0) {
        isCode17 = code == Code17;
        return DataOk;
    }
    const quint8 status = payload.isEmpty() ? 0 : static_cast<quint8>(payload.at(0));
    switch (status) {
    case StatusCommandDone:
        return CommandDone;
    case StatusNeedReinit:
        return NeedReinit;
    case StatusBusy:
        return Busy;
    case StatusNotReady:
        return NotReady;
    case StatusAborted:
        return Aborted;
    case StatusNoRtc:
        return NoRtc;
    default:
        return OtherStatus;
    }
}
