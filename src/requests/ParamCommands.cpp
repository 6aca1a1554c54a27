#include "requests/ParamCommands.h"

#include "link/CommandCode.h"
#include "requests/ParamForm.h"
#include "requests/RequestBuilder.h"
#include "state/AppState.h"

ParamCommands::ParamCommands(AppState &state, RequestBuilder &requests)
    : m_state(state), m_requests(requests)
{
}

void ParamCommands::start(quint8 code, bool readAll, bool writeAll)
{
    m_state.readAllActive = readAll;
    m_state.writeAllActive = writeAll;
    m_requests.send(code);
}

void ParamCommands::readRow(int row)
{
    if (row >= 0 && row < ParamField::rows)
        start(CommandCode::rowRead(row), false, false);
}

void ParamCommands::writeRow(int row)
{
    if (row >= 0 && row < ParamField::rows)
        start(CommandCode::rowWrite(row), false, false);
}

void ParamCommands::readAll()
{
    // The whole grid goes blank at once, so rows the chain has not reached yet
    // cannot be taken for values just read.
    clear();
    start(CommandCode::firstRowRead, true, false);
}

void ParamCommands::writeAll()
{
    start(CommandCode::firstRowWrite, false, true);
}

void ParamCommands::clear()
{
    Form &page = m_state.param;
    for (int i = 0; i < ParamField::texts; ++i)
        page.setText(ParamField::cs(i), QString());
    for (int i = 0; i < ParamField::checks; ++i)
        page.setCheck(ParamField::fx(i), 0);
}

void ParamCommands::readShortCircuit()
{
    start(CommandCode::shortCircuitRead, false, false);
}
void ParamCommands::writeShortCircuit()
{
    start(CommandCode::shortCircuitWrite, false, false);
}
