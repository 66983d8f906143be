// Feeds arbitrary bytes to one frame class, cut into chunks the way the
// serial line delivers them. Which class is chosen at build time
// (LUMISK_FUZZ_FRAME); every class gets its own target so that each runs
// for its full time.

#include "link/devdatas.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "link/realtimeopmvalueframe.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>

namespace {
void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

constexpr uint8_t WrapFlag = 0x80;

// The first byte picks the range code (the power precision depends on it)
// and, with its high bit, whether the rest is wrapped into a well-formed
// answer (answer code, fourth byte, payload; start byte, length and checksum
// added) so that the decoders are reached without guessing checksums. The
// second byte is the chunk length; the rest is what the meter "sends".
template <typename FrameType>
void run(const uint8_t *data, size_t size)
{
    if (size < 2)
        return;
    DevDatas meter;
    meter.rangeCode = static_cast<qint8>(data[0] & 0x7F) % 6 - 1;
    const bool wrap = data[0] & WrapFlag;
    const size_t chunk = (data[1] % 64) + 1;
    QByteArray stream(reinterpret_cast<const char *>(data + 2), static_cast<int>(size - 2));
    if (wrap) {
        QByteArray body = stream.left(2 + 255);
        body = body.leftJustified(2, '\0');
        if (body.at(0) == 0)
            body[0] = 0x06; // a data answer, not a status
        const int length = body.size() - 2;
        body.prepend(char(length));
        body.prepend(Frame::StartByte);
        body.append(char(byteSum(body)));
        stream = body;
    }
    FrameType frame(&meter);
    for (int at = 0; at < stream.size(); at += static_cast<int>(chunk)) {
        if (frame.feed(stream.mid(at, static_cast<int>(chunk))) == DataOk)
            frame.reset();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    run<LUMISK_FUZZ_FRAME>(data, size);
    return 0;
}
