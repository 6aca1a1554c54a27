#include "link/LinkController.h"

#include "link/PortIo.h"
#include "shell/Core.h"

#include <QCoreApplication>

LinkController::LinkController(Core &core, std::unique_ptr<PortIo> port)
    : m_core(core), m_port(std::move(port))
{
    m_sendTimer.setInterval(600);
    m_receiveTimer.setInterval(1);
}

LinkController::~LinkController() = default;

bool LinkController::portOpen() const { return m_port && m_port->isOpen(); }
QString LinkController::openPortFirstText()
{
    return QCoreApplication::translate("LinkController", "Please open the serial port first");
}

PortIo &LinkController::port() { return *m_port; }

void LinkController::sendFrame(quint8) {}
void LinkController::restartSendTimer()
{
    m_sendTimer.stop();
    m_sendTimer.start();
}
void LinkController::stopSendTimer() { m_sendTimer.stop(); }
void LinkController::load() {}
void LinkController::refresh() {}
void LinkController::buildPortSettings() {}
void LinkController::toggleOpen() {}
bool LinkController::reopen(int, int) { return false; }
void LinkController::shutdown()
{
    m_sendTimer.stop();
    m_receiveTimer.stop();
}
void LinkController::sendTick() {}
void LinkController::receiveTick() {}
void LinkController::clearReceiveBuffer() {}
