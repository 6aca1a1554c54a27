#include "link/Frame.h"

#include "link/Crc.h"

namespace Frame {

quint16 dataLength(const QByteArray &frame)
{
    if (frame.size() < 7)
        return 0;
    return quint16(quint8(frame[5]) << 8 | quint8(frame[6]));
}

void seal(QByteArray &frame)
{
    const int n = dataLength(frame);
    Q_ASSERT(frame.size() == overhead + n);
    const CrcResult crc = computeCrc(frame, 1, 6 + n);
    frame[7 + n] = char(crc.high());
    frame[8 + n] = char(crc.low());
}

QByteArray layout(quint8 item, int dataLength)
{
    QByteArray frame(overhead + dataLength, '\0');
    frame[4] = char(item);
    frame[5] = char(quint8(dataLength >> 8));
    frame[6] = char(quint8(dataLength));
    return frame;
}

void stamp(QByteArray &frame, quint8 start, quint8 address, quint8 protocol, quint8 operation)
{
    frame[0] = char(start);
    frame[1] = char(address);
    frame[2] = char(protocol);
    frame[3] = char(operation);
    seal(frame);
}

QByteArray build(quint8 start, quint8 address, quint8 protocol, quint8 operation, quint8 item,
                 const QByteArray &data)
{
    QByteArray frame = layout(item, int(data.size()));
    frame.replace(dataOffset, data.size(), data);
    stamp(frame, start, address, protocol, operation);
    return frame;
}

bool crcValid(const QByteArray &frame)
{
    if (frame.size() < overhead)
        return false;
    const int n = dataLength(frame);
    if (frame.size() != overhead + n)
        return false;
    const CrcResult crc = computeCrc(frame, 1, 6 + n);
    return quint8(frame[7 + n]) == crc.high() && quint8(frame[8 + n]) == crc.low();
}

} // namespace Frame
