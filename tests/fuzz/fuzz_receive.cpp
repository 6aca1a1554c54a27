// Feeds arbitrary byte streams, in arbitrary read sizes, through the receive
// assembly and checks every frame it hands over, comparing the whole run with
// a plain model of the assembly that keeps no shortcuts.
//
// Input: address byte, protocol byte, control byte, then reads, each a length
// byte (a read of 0 bytes included) followed by that many bytes. Control bit 0
// makes the hand-over empty the buffer (as closing the port does) at the
// frame numbered by the remaining bits.

#include "link/Crc.h"
#include "link/Frame.h"
#include "link/ReceiveAssembler.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "receive assembly: %s\n", what);
    std::abort();
}

// The assembly written out step by step, with the whole tail of the buffer
// cleared on every shift.
class Model {
public:
    template <typename Handover>
    void step(const QByteArray &bytes, quint8 address, quint8 protocol, Handover handover)
    {
        if (bytes.isEmpty())
            return;
        if (count > ReceiveAssembler::purgeLimit)
            count = 0;
        for (char c : bytes)
            buffer[count++] = quint8(c);
        int consumed = 0;
        for (int p = 0; p <= count - 1; ++p) {
            if (buffer[p] == 0x5D && buffer[p + 1] == address && buffer[p + 2] == protocol &&
                buffer[p + 5] <= 9) {
                const int n = buffer[p + 5] * 256 + buffer[p + 6];
                if (count - p < 9 || count - p < n + 9)
                    break;
                const CrcResult crc = computeCrc(buffer.data(), p + 1, p + 6 + n);
                if (crc.high() == buffer[p + 7 + n] && crc.low() == buffer[p + 8 + n]) {
                    const QByteArray frame(reinterpret_cast<const char *>(buffer.data() + p),
                                           n + 9);
                    const int e = p + 8 + n;
                    if (handover(frame)) {
                        clear();
                        return;
                    }
                    consumed = e + 1;
                    p = e;
                }
            }
            if (count > ReceiveAssembler::purgeLimit) {
                clear();
                return;
            }
        }
        std::memmove(buffer.data(), buffer.data() + consumed, size_t(count - consumed));
        count -= consumed;
        std::memset(buffer.data() + count, 0, buffer.size() - size_t(count));
    }

    void clear()
    {
        buffer.assign(buffer.size(), 0);
        count = 0;
    }

    QByteArray pending() const
    {
        return QByteArray(reinterpret_cast<const char *>(buffer.data()), count);
    }

    std::vector<quint8> buffer = std::vector<quint8>(ReceiveAssembler::capacity, 0);
    int count = 0;
};

void checkFrame(QByteArrayView frame, int dataLength, quint8 address, quint8 protocol)
{
    const QByteArray f = frame.toByteArray();
    if (f.size() < Frame::overhead)
        fail("frame shorter than 9 bytes");
    if (quint8(f[0]) != Frame::responseStart)
        fail("wrong start byte");
    if (quint8(f[1]) != address || quint8(f[2]) != protocol)
        fail("wrong address or protocol byte");
    if (quint8(f[5]) > Frame::maxResponseLengthHigh)
        fail("length high byte above 9");
    if (dataLength != Frame::dataLength(f) || f.size() != Frame::overhead + dataLength)
        fail("frame is not 9 + N bytes");
    if (!Frame::crcValid(f))
        fail("CRC mismatch");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const quint8 address = data[0];
    const quint8 protocol = data[1];
    const bool clearInside = data[2] & 1;
    const int clearAt = data[2] >> 1;

    auto assembler = std::make_unique<ReceiveAssembler>();
    Model model;
    int handed = 0;
    int modelled = 0;

    std::size_t i = 3;
    while (i < size) {
        const std::size_t asked = data[i++];
        const std::size_t length = std::min(asked, size - i);
        const QByteArray read(reinterpret_cast<const char *>(data + i), qsizetype(length));
        i += length;

        QList<QByteArray> got;
        assembler->step(read, address, protocol, [&](QByteArrayView frame, int n) {
            checkFrame(frame, n, address, protocol);
            got << frame.toByteArray();
            if (assembler->step(read, address, protocol, [](QByteArrayView, int) {}))
                fail("a step started inside a running step");
            if (clearInside && handed++ == clearAt)
                assembler->clear();
        });
        QList<QByteArray> expected;
        model.step(read, address, protocol, [&](const QByteArray &frame) {
            expected << frame;
            return clearInside && modelled++ == clearAt;
        });

        if (got != expected)
            fail("frames differ from the model");
        if (assembler->pending() != model.pending())
            fail("pending bytes differ from the model");
        if (assembler->count() < 0 ||
            assembler->count() > ReceiveAssembler::purgeLimit + ReceiveAssembler::maxRead)
            fail("count out of range");
    }
    return 0;
}
