#pragma once

#include "link/LinkExchange.h"
#include "link/LinkHooks.h"
#include "link/LinkTap.h"
#include "link/PortIo.h"
#include "link/ReceiveAssembler.h"
#include "link/Reconnector.h"

#include <QHash>

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class Form;
class UserPrompt;

// The link: the COM port, its settings, the frame sender, the receive step and
// the two timers that drive all traffic. Tick functions are plain functions
// that the timers call, so tests can drive them deterministically.
//
// The link page's lists live in its form; the link follows their selections
// (address, protocol, port settings) whichever side changes them. It knows
// nothing above it: what happens after an answer, a send tick, a loss or a
// close is the hooks' business (see LinkHooks).
class LinkController : public QObject {
    Q_OBJECT
public:
    // Without a port of its own the link uses the QSerialPort line.
    LinkController(LinkExchange &exchange, Form &form, UserPrompt &prompt,
                   std::unique_ptr<PortIo> port);
    ~LinkController() override;

    // True exactly while the page shows closeCaption().
    bool portOpen() const;
    // Shown wherever a request needs the port and it is closed.
    static QString openPortFirstText();
    static QString openCaption();
    static QString closeCaption();
    // The parity list shows its English source entries translated.
    static QString parityCaption(const QString &entry);
    PortIo &port();

    // Completes txFrame (start, address, protocol, operation, CRC) and writes it.
    void sendFrame(quint8 operation);
    void restartSendTimer();
    void stopSendTimer();
    // For a request whose first frame waits for the next send tick (the
    // firmware upgrade): the timer runs whatever the last exchange left it, and
    // that tick counts as the first send rather than a repeat of whatever was
    // pending before, so the new request gets its full number of re-sends.
    void armFirstSend();
    // The next request is a new one although it has the code of the last
    // (the next stored record): its repeats are counted from none, not added
    // to the repeats the ones before it needed.
    void countAnew();
    QTimer &sendTimer() { return m_sendTimer; }
    QTimer &receiveTimer() { return m_receiveTimer; }

    // Page actions.
    void load();    // enumerate ports, select first entries
    void refresh(); // load again, then build the settings
    // The port list: every COM1..COM99 whose device exists, those that cannot
    // be opened now marked; the last one that can be opened is selected.
    void enumeratePorts();
    // How a listed port can be used (Available for a number not listed).
    PortIo::Access portAccess(int number) const;
    // A list entry as the page shows it: "COM3", or with a mark when the port
    // cannot be opened now ("COM3 (no permission)").
    QString portCaption(const QString &entry) const;
    // Why a port cannot be opened now, for its tooltip; "" when it can.
    QString accessNote(int number) const;
    static QString accessSuffix(PortIo::Access access);
    // How to get permission for a device, after a refused open.
    static QString permissionHelp(int number, const QString &device);
    void buildPortSettings();
    void toggleOpen(); // the open/close button
    QString portSettings() const { return m_portSettings; }
    int portNumber() const { return m_portNumber; }
    // The device behind COM<number>, for the list entry's tooltip.
    static QString deviceOf(int number);

    // Opens COM portNumber() with portSettings(); on failure the user has been
    // told why (the messages have no English form) and no port is open.
    bool openPort();
    // Closes without flushing, selects the two list positions (rebuilding the
    // settings) and opens again; used by the firmware upgrade. When the port
    // cannot be opened again the page falls back to its closed state.
    bool reopen(int baudIndex, int parityIndex);
    // Opens COM `number` with what the other lists show, as the open button
    // does, but without a message when it fails. For a lost device that is
    // back (automatic reconnection).
    bool reopenQuietly(int number);
    Reconnector &reconnector() { return m_reconnector; }
    // The device that the open port (or the last one) stood for.
    QString openedDevice() const { return m_openedDevice; }
    // Shutdown: stops both timers and closes without flushing.
    void shutdown();

    void sendTick();
    void receiveTick();
    void receiveStep();
    void clearReceiveBuffer();
    const ReceiveAssembler &receiveBuffer() const { return m_assembler; }
    // Everything that passes over the line, for watching it.
    LinkTap &tap() { return m_tap; }

    // While the bus scan has the line, the send and receive steps leave the
    // port alone; the scan writes and reads it itself.
    void setLineLent(bool lent) { m_lineLent = lent; }
    bool lineLent() const { return m_lineLent; }

    int retryCount() const { return m_retryCount; }
    quint8 lastSentCommand() const { return m_lastSentCommand; }

    // Who is told what happens on the line; null for nobody. The hooks must
    // outlive the link or be unset first.
    void setHooks(LinkHooks *hooks);
    LinkHooks &hooks() { return *m_hooks; }
    LinkExchange &exchange() { return m_exchange; }
    Form &form() { return m_form; }
    UserPrompt &prompt() { return m_prompt; }

    // Where accepted frames and timer-driven requests go instead of the
    // hooks' frameAccepted and sendDue (tests and the CLI register their own).
    void setDispatchHandler(std::function<void()> handler);
    void setRequestHandler(std::function<void()> handler);

signals:
    void portOpenChanged(bool open);
    // The open port has gone; emitted before the link reacts to it.
    void portLosing();

private:
    QString settingsFromLists() const;
    void closePort(bool flush);
    void onLinkFormChanged(const QString &control);
    void applyAddress();
    void applyProtocol();
    void setListsEnabled(bool enabled);
    void onPortLost();
    void showOpenFailure(PortIo::OpenResult result, int errorCode);
    PortIo::OpenResult tryOpen(int *errorCode);
    void enterOpenState();

    LinkExchange &m_exchange;
    Form &m_form;
    UserPrompt &m_prompt;
    LinkHooks *m_hooks;
    std::unique_ptr<PortIo> m_port;
    QTimer m_sendTimer;
    QTimer m_receiveTimer;
    ReceiveAssembler m_assembler;
    LinkTap m_tap;
    std::function<void()> m_dispatch;
    std::function<void()> m_request;
    QString m_portSettings;
    int m_portNumber = 0;
    // What the number stood for when the port opened: a virtual line's link
    // may be gone by the time the line is lost.
    QString m_openedDevice;
    bool m_openedLinked = false;
    QString m_openedSerialNumber;
    PortIo::OpenResult m_lastOpenResult = PortIo::OpenResult::Ok;
    QHash<int, PortIo::Access> m_portAccess; // listed ports that cannot be opened
    Reconnector m_reconnector;
    bool m_portOpen = false;
    quint8 m_retryCount = 0;
    quint8 m_lastSentCommand = 0;
    bool m_lineLent = false;
};
