#pragma once

#include <QtGlobal>

// Item bytes of the pack's protocol (byte 4 of every frame).
namespace PackItem {
constexpr quint8 projectNumber = 1;
constexpr quint8 model = 2;
constexpr quint8 batteryId = 3;
constexpr quint8 versions = 4;
constexpr quint8 sof = 5;
constexpr quint8 live = 6;
constexpr quint8 temperatures = 7;
constexpr quint8 cellVoltages = 8;
constexpr quint8 balancing = 9;
constexpr quint8 dates = 10;
constexpr quint8 counts = 11;
constexpr quint8 passiveBalancing = 12;
constexpr quint8 capacity = 13;
constexpr quint8 zeroCalibration = 14;
constexpr quint8 chargeCalibration = 15;
constexpr quint8 dischargeCalibration = 16;
constexpr quint8 samplingResistor = 17;
constexpr quint8 clock = 18;
constexpr quint8 customText = 19;
constexpr quint8 serialSettings = 20;
constexpr quint8 chargeHandshake = 21;
constexpr quint8 customSelection = 22;
constexpr quint8 currentLimiting = 23;
constexpr quint8 activeBalancing = 24;
constexpr quint8 paramRowFirst = 40;
constexpr quint8 paramRowLast = 56;
constexpr quint8 control = 60;
constexpr quint8 record = 70;
constexpr quint8 recordCount = 71;
constexpr quint8 shortCircuit = 113;
constexpr quint8 network = 125;
constexpr quint8 preDischarge = 130;
constexpr quint8 upgradeApp = 250;
constexpr quint8 upgradeBoot = 251;

constexpr int paramRows = 17;
constexpr int maxCells = 32;
constexpr int maxSensors = 12;
} // namespace PackItem
