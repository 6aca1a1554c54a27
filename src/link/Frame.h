#pragma once

#include <QByteArray>
#include <QtGlobal>

// Frame layout shared by requests (start byte 0x5C) and responses (0x5D):
// start, address, protocol, operation, item, N (2 bytes, big-endian), N data
// bytes, CRC high, CRC low. The CRC covers bytes 1 .. 6 + N.
namespace Frame {
constexpr quint8 requestStart = 0x5C;
constexpr quint8 responseStart = 0x5D;
constexpr int overhead = 9;
constexpr int dataOffset = 7;
constexpr int maxResponseLengthHigh = 9; // N <= 0x09FF

// A frame of `dataLength` zero data bytes with its item and length in place.
// The start, address, protocol and operation bytes and the CRC are the
// sender's (`stamp`); the caller fills in the data.
QByteArray layout(quint8 item, int dataLength);
// Writes the header bytes the sender owns and seals the frame. The frame's
// length field must match its size.
void stamp(QByteArray &frame, quint8 start, quint8 address, quint8 protocol, quint8 operation);
// A complete frame with its CRC, as the host or a BMS would put it on the wire.
QByteArray build(quint8 start, quint8 address, quint8 protocol, quint8 operation, quint8 item,
                 const QByteArray &data);
// Writes the CRC of the frame laid out in `frame` (N read from bytes 5 and 6)
// into its last two bytes.
void seal(QByteArray &frame);
// True when `frame` is exactly 9 + N bytes and its CRC bytes are right.
bool crcValid(const QByteArray &frame);
quint16 dataLength(const QByteArray &frame);
} // namespace Frame
