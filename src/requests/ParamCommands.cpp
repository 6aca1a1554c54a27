#include "requests/ParamCommands.h"

#include "shell/Core.h"

ParamCommands::ParamCommands(Core &core) : m_core(core) {}

void ParamCommands::readRow(int) {}
void ParamCommands::writeRow(int) {}
void ParamCommands::readAll() {}
void ParamCommands::writeAll() {}
void ParamCommands::clear() {}
void ParamCommands::readShortCircuit() {}
void ParamCommands::writeShortCircuit() {}
