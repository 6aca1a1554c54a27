#pragma once

#include <QByteArray>

class Form;

// Read-back of the BMS's configuration items into the system page. Each
// throws FrameError at the first position it cannot read or the first value a
// control refuses (a check state above 2, an entry beyond the last); controls
// filled before keep their new content.
namespace SystemDecoding {
void decodeNetworkAddress(const QByteArray &frame, int dataLength, Form &system);       // item 125
void decodePassiveBalancing(const QByteArray &frame, int dataLength, Form &system);     // item 12
void decodeCounts(const QByteArray &frame, int dataLength, Form &system);               // item 11
void decodeCapacity(const QByteArray &frame, int dataLength, Form &system);             // item 13
void decodeZeroCalibration(const QByteArray &frame, int dataLength, Form &system);      // item 14
void decodeChargeCalibration(const QByteArray &frame, int dataLength, Form &system);    // item 15
void decodeDischargeCalibration(const QByteArray &frame, int dataLength, Form &system); // 16
void decodeSamplingResistor(const QByteArray &frame, int dataLength, Form &system);     // item 17
void decodeClock(const QByteArray &frame, int dataLength, Form &system);                // item 18
void decodeSerialSettings(const QByteArray &frame, int dataLength, Form &system);       // item 20
void decodeHandshake(const QByteArray &frame, int dataLength, Form &system);            // item 21
void decodeCustomSelection(const QByteArray &frame, int dataLength, Form &system);      // item 22
void decodeCurrentLimiting(const QByteArray &frame, int dataLength, Form &system);      // item 23
void decodePreDischarge(const QByteArray &frame, int dataLength, Form &system);         // item 130
void decodeActiveBalancing(const QByteArray &frame, int dataLength, Form &system);      // item 24
} // namespace SystemDecoding
