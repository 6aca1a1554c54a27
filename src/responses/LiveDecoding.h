#pragma once

#include <QByteArray>

class Form;

// The live items of the polling cycle, decoded onto the information page:
// SOF (item 5), the live-data block with its status words (item 6), cell
// temperatures (item 7), cell voltages (item 8) and the passive-balancing map
// (item 9). `dataLength` is the frame's own data length; only item 6 looks at
// it. Each throws FrameError at the first position it cannot read.
namespace LiveDecoding {
void decodeSof(const QByteArray &frame, int dataLength, Form &info);
void decodeLiveData(const QByteArray &frame, int dataLength, Form &info);
void decodeCellTemperatures(const QByteArray &frame, int dataLength, Form &info);
void decodeCellVoltages(const QByteArray &frame, int dataLength, Form &info);
void decodeBalancing(const QByteArray &frame, int dataLength, Form &info);

// The status part of item 6: condition lists, working state and indicators
// (bytes 47 to 58, and byte 62 when the data length is at least 56).
void decodeStatus(const QByteArray &frame, Form &info);
void decodeReservedIndicators(const QByteArray &frame, Form &info);

// Older firmware sends shorter live blocks: below 53 data bytes there is no
// BMS address, below 56 no reserved indicator byte.
constexpr int addressLength = 53;
constexpr int reservedIndicatorLength = 56;
} // namespace LiveDecoding
