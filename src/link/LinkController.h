#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class Core;
class PortIo;

// The link: the COM port, its settings, the frame sender, the receive step and
// the two timers that drive all traffic. Tick functions are plain functions
// that the timers call, so tests can drive them deterministically.
class LinkController : public QObject {
    Q_OBJECT
public:
    LinkController(Core &core, std::unique_ptr<PortIo> port);
    ~LinkController() override;

    bool portOpen() const;
    // Shown wherever a request needs the port and it is closed.
    static QString openPortFirstText();
    PortIo &port();

    // Completes txFrame (start, address, protocol, operation, CRC) and writes it.
    void sendFrame(quint8 operation);
    void restartSendTimer();
    void stopSendTimer();
    QTimer &sendTimer() { return m_sendTimer; }
    QTimer &receiveTimer() { return m_receiveTimer; }

    // Page actions.
    void load();           // enumerate ports, select first entries
    void refresh();        // load again, then build the settings
    void buildPortSettings();
    void toggleOpen();     // the open/close button
    QString portSettings() const { return m_portSettings; }
    int portNumber() const { return m_portNumber; }

    // Closes without flushing, selects the two list positions (rebuilding the
    // settings) and opens again; used by the firmware upgrade.
    bool reopen(int baudIndex, int parityIndex);
    // Shutdown: stops both timers and closes without flushing.
    void shutdown();

    void sendTick();
    void receiveTick();
    void clearReceiveBuffer();

private:
    Core &m_core;
    std::unique_ptr<PortIo> m_port;
    QTimer m_sendTimer;
    QTimer m_receiveTimer;
    QString m_portSettings;
    int m_portNumber = 0;
    bool m_portOpen = false;
};
