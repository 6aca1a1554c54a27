#include "requests/SystemCommands.h"

#include "shell/Core.h"

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
    {98, QT_TRANSLATE_NOOP("SystemCommands", "Read Project No.")},
    {99, QT_TRANSLATE_NOOP("SystemCommands", "Write Project No.")},
    {100, QT_TRANSLATE_NOOP("SystemCommands", "Read BMS model")},
    {101, QT_TRANSLATE_NOOP("SystemCommands", "Write BMS model")},
    {102, QT_TRANSLATE_NOOP("SystemCommands", "Read Battery ID")},
    {103, QT_TRANSLATE_NOOP("SystemCommands", "Write Battery ID")},
    {104, QT_TRANSLATE_NOOP("SystemCommands", "Read Custom")},
    {105, QT_TRANSLATE_NOOP("SystemCommands", "Write Custom")},
    {106, QT_TRANSLATE_NOOP("SystemCommands", "Read IP")},
    {107, QT_TRANSLATE_NOOP("SystemCommands", "Write IP")},
    {110, QT_TRANSLATE_NOOP("SystemCommands", "Read Balanced Settings")},                  // 11
    {111, QT_TRANSLATE_NOOP("SystemCommands", "Write Balanced Settings")},                 // 12
    {109, QT_TRANSLATE_NOOP("SystemCommands", "Write Production Date")},                   // 13
    {108, QT_TRANSLATE_NOOP("SystemCommands", "Read Production Date")},                    // 14
    {113, QT_TRANSLATE_NOOP("SystemCommands", "Write Number")},                            // 15
    {112, QT_TRANSLATE_NOOP("SystemCommands", "Read Number")},                             // 16
    {114, QT_TRANSLATE_NOOP("SystemCommands", "Read Capacity dependent")},                 // 17
    {115, QT_TRANSLATE_NOOP("SystemCommands", "Write Capacity dependent")},                // 18
    {119, QT_TRANSLATE_NOOP("SystemCommands", "Write Charging calibration")},              // 19
    {118, QT_TRANSLATE_NOOP("SystemCommands", "Read Charging calibration")},               // 20
    {116, QT_TRANSLATE_NOOP("SystemCommands", "Read Zero calibration")},                   // 21
    {117, QT_TRANSLATE_NOOP("SystemCommands", "Write Zero calibration")},                  // 22
    {121, QT_TRANSLATE_NOOP("SystemCommands", "Write Discharge calibration")},             // 23
    {120, QT_TRANSLATE_NOOP("SystemCommands", "Read Discharge calibration")},              // 24
    {125, QT_TRANSLATE_NOOP("SystemCommands", "Write BMS time")},                          // 25
    {124, QT_TRANSLATE_NOOP("SystemCommands", "Read BMS time")},                           // 26
    {122, QT_TRANSLATE_NOOP("SystemCommands", "Read Sampling resistor")},                  // 27
    {123, QT_TRANSLATE_NOOP("SystemCommands", "Write Sampling resistor")},                 // 28
    {126, QT_TRANSLATE_NOOP("SystemCommands", "Read Baud rate")},                          // 29
    {127, QT_TRANSLATE_NOOP("SystemCommands", "Write Baud rate")},                         // 30
    {129, QT_TRANSLATE_NOOP("SystemCommands", "Write Charging handshake ")},               // 31
    {128, QT_TRANSLATE_NOOP("SystemCommands", "Read Charging handshake")},                 // 32
    {130, QT_TRANSLATE_NOOP("SystemCommands", "Read Custom Selection")},                   // 33
    {131, QT_TRANSLATE_NOOP("SystemCommands", "Write Custom Selection")},                  // 34
    {132, QT_TRANSLATE_NOOP("SystemCommands", "Read Energy storage module")},              // 35
    {133, QT_TRANSLATE_NOOP("SystemCommands", "Write Energy storage module")},             // 36
    {134, QT_TRANSLATE_NOOP("SystemCommands", "Read PreDischarge parameters succeeded")},  // 37
    {135, QT_TRANSLATE_NOOP("SystemCommands", "Write PreDischarge parameters succeeded")}, // 38
    {136, QT_TRANSLATE_NOOP("SystemCommands", "Read Active balancing parameters")},        // 39
    {137, QT_TRANSLATE_NOOP("SystemCommands", "Write Active balancing parameters")},       // 40
};

const Button *find(int button)
{
    return button >= 1 && button <= 40 ? &buttons[button - 1] : nullptr;
}

} // namespace

SystemCommands::SystemCommands(Core &core) : m_core(core) {}

void SystemCommands::press(int button)
{
    const Button *b = find(button);
    if (!b)
        return;
    m_core.requests.send(b->code);
    // Written after the builder returns, also over a refusal, so the line
    // names what the user last asked for.
    m_core.state.setStatusLine(statusText(button));
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
