#include "requests/SystemCommands.h"

#include "link/CommandCode.h"
#include "requests/RequestBuilder.h"
#include "state/AppState.h"

#include <QCoreApplication>

namespace {

struct Button {
    quint8 code;
    const char *status;
};

// Indexed by button number - 1. The page pairs the buttons out of number
// order (Command14 reads the dates that Command13 writes); the codes follow
// the groups.
const Button buttons[40] = {
    {CommandCode::projectNumberRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Project No.")},
    {CommandCode::projectNumberWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Project No.")},
    {CommandCode::modelRead, QT_TRANSLATE_NOOP("SystemCommands", "Read BMS model")},
    {CommandCode::modelWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write BMS model")},
    {CommandCode::batteryIdRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Battery ID")},
    {CommandCode::batteryIdWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Battery ID")},
    {CommandCode::customTextRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Custom")},
    {CommandCode::customTextWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Custom")},
    {CommandCode::networkRead, QT_TRANSLATE_NOOP("SystemCommands", "Read IP")},
    {CommandCode::networkWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write IP")},
    {CommandCode::passiveBalancingRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Balanced Settings")}, // 11
    {CommandCode::passiveBalancingWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Balanced Settings")},                        // 12
    {CommandCode::datesWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Production Date")}, // 13
    {CommandCode::datesRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Production Date")},   // 14
    {CommandCode::countsWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Number")},         // 15
    {CommandCode::countsRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Number")},           // 16
    {CommandCode::capacityRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Capacity dependent")}, // 17
    {CommandCode::capacityWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Capacity dependent")}, // 18
    {CommandCode::chargeCalibrationWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Charging calibration")}, // 19
    {CommandCode::chargeCalibrationRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Charging calibration")}, // 20
    {CommandCode::zeroCalibrationRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Zero calibration")}, // 21
    {CommandCode::zeroCalibrationWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Zero calibration")}, // 22
    {CommandCode::dischargeCalibrationWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Discharge calibration")}, // 23
    {CommandCode::dischargeCalibrationRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Discharge calibration")},              // 24
    {CommandCode::clockWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write BMS time")}, // 25
    {CommandCode::clockRead, QT_TRANSLATE_NOOP("SystemCommands", "Read BMS time")},   // 26
    {CommandCode::samplingResistorRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Sampling resistor")}, // 27
    {CommandCode::samplingResistorWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Sampling resistor")},                   // 28
    {CommandCode::serialRead, QT_TRANSLATE_NOOP("SystemCommands", "Read Baud rate")},   // 29
    {CommandCode::serialWrite, QT_TRANSLATE_NOOP("SystemCommands", "Write Baud rate")}, // 30
    {CommandCode::handshakeWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Charging handshake ")}, // 31
    {CommandCode::handshakeRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Charging handshake")}, // 32
    {CommandCode::customSelectionRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Custom Selection")}, // 33
    {CommandCode::customSelectionWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Custom Selection")}, // 34
    {CommandCode::moduleRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Energy storage module")}, // 35
    {CommandCode::moduleWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Energy storage module")}, // 36
    {CommandCode::preDischargeRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read PreDischarge parameters succeeded")}, // 37
    {CommandCode::preDischargeWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write PreDischarge parameters succeeded")}, // 38
    {CommandCode::activeBalancingRead,
     QT_TRANSLATE_NOOP("SystemCommands", "Read Active balancing parameters")}, // 39
    {CommandCode::activeBalancingWrite,
     QT_TRANSLATE_NOOP("SystemCommands", "Write Active balancing parameters")}, // 40
};

const Button *find(int button)
{
    return button >= 1 && button <= 40 ? &buttons[button - 1] : nullptr;
}

} // namespace

SystemCommands::SystemCommands(AppState &state, RequestBuilder &requests)
    : m_state(state), m_requests(requests)
{
}

void SystemCommands::press(int button)
{
    const Button *b = find(button);
    if (!b)
        return;
    m_requests.send(b->code);
    // Written after the builder returns, also over a refusal, so the line
    // names what the user last asked for.
    m_state.setStatusLine(statusText(button));
}

int SystemCommands::code(int button)
{
    const Button *b = find(button);
    return b ? b->code : -1;
}

QString SystemCommands::statusText(int button)
{
    const Button *b = find(button);
    return b ? QCoreApplication::translate("SystemCommands", b->status) : QString();
}
