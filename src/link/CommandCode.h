#pragma once

#include <QtGlobal>

// The codes AppState::currentCommand takes: which request is in progress.
// They never go on the wire (a frame carries an operation and an item); they
// order the exchange. Codes below `pause` belong to the polling cycle, which
// the send timer keeps going; every other code is one exchange that ends in
// `pause`. Kept at the bottom of the layers so that every subsystem, the link
// included, can name a code without reaching upward.
namespace CommandCode {

// The polling cycle: one read per code, in this order.
inline constexpr quint8 firstLiveRead = 0; // project number
inline constexpr quint8 lastLiveRead = 9;  // custom text, the end of a cycle
// Where the custom-text answer parks the cycle until the next one starts.
inline constexpr quint8 cycleParked = 11;
// Codes 10..15 lie between two cycles; the next answer restarts at 0.
inline constexpr quint8 lastBetweenCycles = 15;

// Nothing in progress: the send timer sends nothing.
inline constexpr quint8 pause = 16;

// The parameter page's rows: a read and a write per row.
inline constexpr quint8 firstRowRead = 17;
inline constexpr quint8 lastRowRead = 33;
inline constexpr quint8 firstRowWrite = 49;
inline constexpr quint8 lastRowWrite = 65;
constexpr quint8 rowRead(int row)
{
    return quint8(firstRowRead + row);
}
constexpr quint8 rowWrite(int row)
{
    return quint8(firstRowWrite + row);
}

// The information page's switches.
inline constexpr quint8 chargeMosOff = 80;
inline constexpr quint8 dischargeMosOff = 81;
inline constexpr quint8 sleep = 82;
inline constexpr quint8 reset = 83;
inline constexpr quint8 storage = 84;
inline constexpr quint8 chargeMosOn = 85;
inline constexpr quint8 dischargeMosOn = 86;
inline constexpr quint8 wake = 87;
inline constexpr quint8 firstControl = chargeMosOff;
inline constexpr quint8 lastControl = wake;

// Settings: each read is followed by its write (read + 1).
inline constexpr quint8 shortCircuitRead = 96; // parameter page
inline constexpr quint8 shortCircuitWrite = 97;
inline constexpr quint8 projectNumberRead = 98; // system page from here on
inline constexpr quint8 projectNumberWrite = 99;
inline constexpr quint8 modelRead = 100;
inline constexpr quint8 modelWrite = 101;
inline constexpr quint8 batteryIdRead = 102;
inline constexpr quint8 batteryIdWrite = 103;
inline constexpr quint8 customTextRead = 104;
inline constexpr quint8 customTextWrite = 105;
inline constexpr quint8 networkRead = 106;
inline constexpr quint8 networkWrite = 107;
inline constexpr quint8 datesRead = 108;
inline constexpr quint8 datesWrite = 109;
inline constexpr quint8 passiveBalancingRead = 110;
inline constexpr quint8 passiveBalancingWrite = 111;
inline constexpr quint8 countsRead = 112;
inline constexpr quint8 countsWrite = 113;
inline constexpr quint8 capacityRead = 114;
inline constexpr quint8 capacityWrite = 115;
inline constexpr quint8 zeroCalibrationRead = 116;
inline constexpr quint8 zeroCalibrationWrite = 117;
inline constexpr quint8 chargeCalibrationRead = 118;
inline constexpr quint8 chargeCalibrationWrite = 119;
inline constexpr quint8 dischargeCalibrationRead = 120;
inline constexpr quint8 dischargeCalibrationWrite = 121;
inline constexpr quint8 samplingResistorRead = 122;
inline constexpr quint8 samplingResistorWrite = 123;
inline constexpr quint8 clockRead = 124;
inline constexpr quint8 clockWrite = 125;
inline constexpr quint8 serialRead = 126;
inline constexpr quint8 serialWrite = 127;
inline constexpr quint8 handshakeRead = 128;
inline constexpr quint8 handshakeWrite = 129;
inline constexpr quint8 customSelectionRead = 130;
inline constexpr quint8 customSelectionWrite = 131;
inline constexpr quint8 moduleRead = 132; // energy storage module
inline constexpr quint8 moduleWrite = 133;
inline constexpr quint8 preDischargeRead = 134;
inline constexpr quint8 preDischargeWrite = 135;
inline constexpr quint8 activeBalancingRead = 136;
inline constexpr quint8 activeBalancingWrite = 137;
inline constexpr quint8 firstSetting = shortCircuitRead;
inline constexpr quint8 firstSystemSetting = projectNumberRead;
inline constexpr quint8 lastSetting = activeBalancingWrite;

// The stored-records page: the count, then one record per request.
inline constexpr quint8 storedCount = 160;
inline constexpr quint8 storedRecord = 161;

// A firmware upgrade in progress.
inline constexpr quint8 upgrade = 255;

} // namespace CommandCode
