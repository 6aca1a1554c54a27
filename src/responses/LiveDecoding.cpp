#include "responses/LiveDecoding.h"

#include "base/Form.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"
#include "responses/StatusNames.h"

namespace {

struct WordField {
    int index;
    double scale;
    quint8 signedMode;
    const QString &control;
};

// Item 6 up to the status words, in wire order.
const WordField liveFields[] = {
    {7, 0.01, 0, InfoField::totalVoltage},
    {9, 0.01, 1, InfoField::totalCurrent},
    {11, 0.1, 0, InfoField::soc},
    {13, 0.1, 0, InfoField::soh},
    {15, 0.001, 0, InfoField::maxCellVoltage},
    {17, 1, 0, InfoField::maxCellVoltageNo},
    {19, 0.001, 0, InfoField::minCellVoltage},
    {21, 1, 0, InfoField::minCellVoltageNo},
    {23, 0.001, 0, InfoField::voltageDifference},
    {25, 0.1, 1, InfoField::maxTemperature},
    {27, 1, 0, InfoField::maxTemperatureNo},
    {29, 0.1, 1, InfoField::minTemperature},
    {31, 1, 0, InfoField::minTemperatureNo},
    {33, 0.1, 1, InfoField::temperatureDifference},
    {35, 0.1, 1, InfoField::averageTemperature},
    {37, 0.1, 1, InfoField::mosTemperature},
    {39, 0.1, 1, InfoField::ambientTemperature},
    {41, 0.001, 0, InfoField::averageVoltage},
    {43, 0.01, 0, InfoField::fullCapacity},
    {45, 1, 0, InfoField::cycleCount},
};

enum class Words { Connection, Switch, YesNo, WorkingState };

struct Indicator {
    int index;
    int bit;
    Words words;
    const QString &control;
};

// Bits 57.1 (charging) and 57.2 (discharging) together give the working state.
const Indicator stateIndicators[] = {
    {57, 0, Words::Connection, InfoField::switch1},
    {57, 1, Words::WorkingState, InfoField::workingState},
    {57, 3, Words::Switch, InfoField::activeBalancing},
    {57, 4, Words::Switch, InfoField::currentLimiting},
    {57, 5, Words::YesNo, InfoField::dischargeForcedOff},
    {57, 6, Words::YesNo, InfoField::chargeForcedOff},
    {57, 7, Words::Connection, InfoField::switch2},
    {58, 0, Words::Switch, InfoField::dischargeMos},
    {58, 1, Words::Switch, InfoField::chargeMos},
    {58, 2, Words::Switch, InfoField::preDischargeMos},
    {58, 3, Words::Switch, InfoField::heating},
    {58, 4, Words::Switch, InfoField::gps},
    {58, 5, Words::Connection, InfoField::charger},
    {58, 6, Words::Connection, InfoField::load},
    {58, 7, Words::Switch, InfoField::reserved7},
};

bool bitSet(quint8 byte, int bit)
{
    return (byte >> bit) & 1;
}

QString indicatorText(const Indicator &ind, quint8 byte)
{
    const bool set = bitSet(byte, ind.bit);
    switch (ind.words) {
    case Words::Connection:
        return StatusNames::connectionText(set);
    case Words::Switch:
        return StatusNames::switchText(set);
    case Words::YesNo:
        return StatusNames::yesNoText(set);
    case Words::WorkingState:
        return StatusNames::workingStateText(set, bitSet(byte, ind.bit + 1));
    }
    return {};
}

void writeConditions(Form &info, const QString &control, const QString &lines)
{
    info.setText(control, lines.isEmpty() ? StatusNames::none() : lines);
}

void writeCountedArray(const QByteArray &frame, Form &info, const QString &countControl,
                       int slotCount, double scale, quint8 signedMode, QString (*slotControl)(int))
{
    info.setText(countControl, decodeWord(frame, 7, 1));
    // Only the low byte of the count word says how many slots are filled.
    const int filled = frameByte(frame, 8);
    for (int i = 0; i < slotCount; ++i) {
        info.setText(slotControl(i), i < filled ? decodeWord(frame, 9 + 2 * i, scale, 0, signedMode)
                                                : StatusNames::none());
    }
}

} // namespace

namespace LiveDecoding {

void decodeSof(const QByteArray &frame, int, Form &info)
{
    info.setText(InfoField::sof, decodeWord(frame, 7, 0.01));
}

void decodeLiveData(const QByteArray &frame, int dataLength, Form &info)
{
    for (const WordField &f : liveFields)
        info.setText(f.control, decodeWord(frame, f.index, f.scale, 0, f.signedMode));
    decodeStatus(frame, info);
    info.setText(InfoField::bmsAddress,
                 dataLength < addressLength ? QStringLiteral("xxx") : decodeWord(frame, 59, 1));
    if (dataLength >= reservedIndicatorLength)
        decodeReservedIndicators(frame, info);
}

void decodeStatus(const QByteArray &frame, Form &info)
{
    // A condition box is emptied before its bytes are read, so a frame that
    // ends inside the field leaves it empty rather than showing stale conditions.
    info.setText(InfoField::alarmStatus, QString());
    const quint32 alarm = quint32(frameWord(frame, 47)) << 16 | frameWord(frame, 49);
    writeConditions(info, InfoField::alarmStatus, StatusNames::conditionLines(alarm));

    info.setText(InfoField::protectionStatus, QString());
    const quint32 protection = quint32(frameWord(frame, 51)) << 16 | frameWord(frame, 53);
    writeConditions(info, InfoField::protectionStatus, StatusNames::conditionLines(protection));

    info.setText(InfoField::faultStatus, QString());
    writeConditions(info, InfoField::faultStatus, StatusNames::faultLines(frameWord(frame, 55)));

    for (const Indicator &ind : stateIndicators)
        info.setText(ind.control, indicatorText(ind, frameByte(frame, ind.index)));
}

void decodeReservedIndicators(const QByteArray &frame, Form &info)
{
    const quint8 byte = frameByte(frame, 62);
    for (int bit = 0; bit <= 6; ++bit)
        info.setText(InfoField::reserved(16 + bit), StatusNames::switchText(bitSet(byte, bit)));
}

void decodeCellTemperatures(const QByteArray &frame, int, Form &info)
{
    writeCountedArray(frame, info, InfoField::ntcCount, InfoField::temperatureSlots, 0.1, 1,
                      InfoField::cellTemperature);
}

void decodeCellVoltages(const QByteArray &frame, int, Form &info)
{
    writeCountedArray(frame, info, InfoField::cellCount, InfoField::cellSlots, 1, 0,
                      InfoField::cellVoltage);
}

void decodeBalancing(const QByteArray &frame, int, Form &info)
{
    for (int cell = 0; cell < InfoField::cellSlots; ++cell)
        info.setHighlighted(InfoField::cellVoltage(cell),
                            bitSet(frameByte(frame, 9 + cell / 8), cell % 8));
}

} // namespace LiveDecoding
