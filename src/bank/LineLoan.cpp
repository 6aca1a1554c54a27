#include "bank/LineLoan.h"

#include "link/CommandCode.h"
#include "link/LinkController.h"
#include "state/AppState.h"

void LineLoan::take()
{
    if (m_held)
        return;
    AppState &s = m_state;
    LinkController &link = m_link;
    m_sendTimerWasActive = link.sendTimer().isActive();
    s.currentCommand = CommandCode::pause;
    link.stopSendTimer();
    link.setLineLent(true);
    link.clearReceiveBuffer();
    s.linkCountdown = qMin(s.linkCountdown, 0);
    m_held = true;
}

void LineLoan::giveBack(bool restart)
{
    if (!m_held)
        return;
    m_held = false;
    LinkController &link = m_link;
    link.setLineLent(false);
    link.clearReceiveBuffer();
    if (link.portOpen() && (m_sendTimerWasActive || restart))
        link.restartSendTimer();
}
