#include "requests/SystemCommands.h"

#include "shell/Core.h"

SystemCommands::SystemCommands(Core &core) : m_core(core) {}

void SystemCommands::press(int) {}
int SystemCommands::code(int) { return 16; }
QString SystemCommands::statusText(int) { return {}; }
