#pragma once

#include <QtGlobal>

// The messages that end an exchange, by name. The catalogue rows name the
// one they end with; the texts, in the current language, come from
// ResultMessages in the responses. English repeats itself ("Write succeeded"
// for a dozen different writes); Chinese names what was written, so every
// name has its own translation.
enum class ResultMessage : quint8 {
    none, // the row ends with no message
    readSucceeded,
    readAll, // "Successfully read all"
    rowWritten,
    setAll, // "Successfully set all"
    controlSucceeded,
    shortCircuitRead,
    shortCircuitWritten,
    projectNumberWritten,
    modelWritten,
    batteryIdWritten,
    customTextWritten,
    networkRead,
    networkWritten,
    datesWritten,
    datesRead,
    passiveBalancingWritten,
    passiveBalancingRead,
    countsWritten,
    countsRead,
    capacityWritten,
    capacityRead,
    zeroCalibrationRead,
    zeroCalibrationWritten,
    chargeCalibrationRead,
    chargeCalibrationWritten,
    dischargeCalibrationRead,
    dischargeCalibrationWritten,
    samplingResistorRead,
    samplingResistorWritten,
    clockRead,
    clockWritten,
    serialSettingsRead,
    serialSettingsWritten,
    handshakeRead,
    handshakeWritten,
    customSelectionRead,
    customSelectionWritten,
    exportSucceeded,
    readComplete,
    storageModuleRead,
    storageModuleWritten,
    preDischargeRead,
    preDischargeWritten,
    activeBalancingRead,
    activeBalancingWritten,
};
inline constexpr int resultMessageCount = int(ResultMessage::activeBalancingWritten) + 1;
