#include "link/LinkController.h"

#include "link/Frame.h"
#include "link/PortIo.h"
#include "shell/Core.h"
#include "shell/UserPrompt.h"

#include <QCoreApplication>

LinkController::LinkController(Core &core, std::unique_ptr<PortIo> port)
    : m_core(core), m_port(std::move(port))
{
    m_sendTimer.setInterval(600);
    m_receiveTimer.setInterval(1);
}

LinkController::~LinkController() = default;

bool LinkController::portOpen() const { return m_portOpen; }
QString LinkController::openPortFirstText()
{
    return QCoreApplication::translate("LinkController", "Please open the serial port first");
}

PortIo &LinkController::port() { return *m_port; }

void LinkController::sendFrame(quint8 operation)
{
    AppState &s = m_core.state;
    if (!m_portOpen) {
        s.currentCommand = 16;
        s.prompt.message(openPortFirstText());
        return;
    }
    QByteArray &tx = s.txFrame;
    tx[0] = char(Frame::requestStart);
    tx[1] = char(s.deviceAddress);
    tx[2] = char(s.protocolCode);
    tx[3] = char(operation);
    Frame::seal(tx);
    const qint64 written = m_port->write(tx);
    if (written == tx.size())
        return;
    s.currentCommand = 16;
    s.prompt.message(QStringLiteral("%1_%2_%3_%4_%5")
                         .arg(written >= 0 ? 1 : 0)
                         .arg(tx.size())
                         .arg(qMax<qint64>(written, 0))
                         .arg(m_port->handleValue())
                         .arg(QCoreApplication::translate("LinkController",
                                                          "Send the serial port error")));
}
void LinkController::restartSendTimer()
{
    m_sendTimer.stop();
    m_sendTimer.start();
}
void LinkController::stopSendTimer() { m_sendTimer.stop(); }
void LinkController::load() {}
void LinkController::refresh() {}
void LinkController::buildPortSettings() {}
// Minimal until the link page lands: opens the port with the default settings.
void LinkController::toggleOpen()
{
    if (m_portOpen) {
        m_portOpen = false;
        m_port->close();
        m_sendTimer.stop();
        m_receiveTimer.stop();
        return;
    }
    int error = 0;
    if (m_port->open(QString(), PortIo::Settings{}, &error) == PortIo::OpenResult::Ok) {
        m_portOpen = true;
        m_sendTimer.start();
        m_receiveTimer.start();
    }
}
bool LinkController::reopen(int, int) { return false; }
void LinkController::shutdown()
{
    m_sendTimer.stop();
    m_receiveTimer.stop();
}
void LinkController::sendTick() {}
void LinkController::receiveTick() {}
void LinkController::clearReceiveBuffer() {}
