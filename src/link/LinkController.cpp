#include "link/LinkController.h"

#include "base/ChineseOnlyText.h"
#include "base/Form.h"
#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/ModeString.h"
#include "link/PortIo.h"
#include "link/PortMap.h"
#include "link/SerialPortIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {

// Values behind the address and protocol list entries, in list order.
int addressValue(int index)
{
    return index == 0 ? 255 : index - 1;
}
constexpr quint8 protocolValues[] = {16};

// Parity letter of the mode string for each parity entry, in either language.
QString parityLetter(const QString &entry)
{
    struct Row {
        const char *english;
        const char *chinese;
        const char *letter;
    };
    static const Row rows[] = {
        {"None", "无校验", "N"},
        {"Even", "偶校验", "E"},
        {"Odd", "奇校验", "O"},
    };
    for (const Row &r : rows)
        if (entry == QLatin1String(r.english) || entry == QString::fromUtf8(r.chinese))
            return QLatin1String(r.letter);
    return {};
}

// Leading decimal digits, as the port entries carry their number ("COM12").
int leadingNumber(const QString &text)
{
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

const QStringList &settingLists()
{
    static const QStringList lists = {LinkField::port,     LinkField::baud,    LinkField::parity,
                                      LinkField::dataBits, LinkField::address, LinkField::protocol};
    return lists;
}

// The hooks of a link that nobody watches.
LinkHooks &noHooks()
{
    static LinkHooks none;
    return none;
}

} // namespace

LinkController::LinkController(LinkExchange &exchange, Form &form, UserPrompt &prompt,
                               std::unique_ptr<PortIo> port)
    : m_exchange(exchange), m_form(form), m_prompt(prompt), m_hooks(&noHooks()),
      m_port(port ? std::move(port) : std::make_unique<SerialPortIo>()), m_reconnector(*this)
{
    m_sendTimer.setInterval(600);
    m_receiveTimer.setInterval(1);
    connect(&m_sendTimer, &QTimer::timeout, this, &LinkController::sendTick);
    connect(&m_receiveTimer, &QTimer::timeout, this, &LinkController::receiveTick);
    connect(m_port.get(), &PortIo::readyRead, this, &LinkController::receiveTick);
    connect(m_port.get(), &PortIo::lost, this, &LinkController::onPortLost);
    connect(&m_form, &Form::changed, this, &LinkController::onLinkFormChanged);
    m_assembler.setObserver(&m_tap);
    // What the lists show before the page has loaded.
    m_portSettings = settingsFromLists();
}

LinkController::~LinkController() = default;

bool LinkController::portOpen() const
{
    return m_portOpen;
}

QString LinkController::openPortFirstText()
{
    return tr("Please open the serial port first");
}
QString LinkController::openCaption()
{
    return tr("Open serial port");
}
QString LinkController::closeCaption()
{
    return tr("Close serial port");
}

QString LinkController::parityCaption(const QString &entry)
{
    static const char *const names[] = {QT_TRANSLATE_NOOP("LinkController", "None"),
                                        QT_TRANSLATE_NOOP("LinkController", "Even"),
                                        QT_TRANSLATE_NOOP("LinkController", "Odd")};
    for (const char *name : names)
        if (entry == QLatin1String(name))
            return tr(name);
    return entry;
}

PortIo &LinkController::port()
{
    return *m_port;
}

void LinkController::setHooks(LinkHooks *hooks)
{
    m_hooks = hooks ? hooks : &noHooks();
}

void LinkController::setDispatchHandler(std::function<void()> handler)
{
    m_dispatch = std::move(handler);
}

void LinkController::setRequestHandler(std::function<void()> handler)
{
    m_request = std::move(handler);
}

void LinkController::sendFrame(quint8 operation)
{
    LinkExchange &s = m_exchange;
    if (!m_portOpen) {
        s.currentCommand = CommandCode::pause;
        m_prompt.message(openPortFirstText());
        return;
    }
    QByteArray &tx = s.txFrame;
    // The builder sizes the frame to its length field; anything else would
    // put the CRC outside the array.
    if (tx.size() < Frame::overhead || tx.size() != Frame::overhead + Frame::dataLength(tx)) {
        qWarning("sendFrame: txFrame of %d bytes does not match its length field", int(tx.size()));
        s.currentCommand = CommandCode::pause;
        return;
    }
    Frame::stamp(tx, Frame::requestStart, s.deviceAddress, s.protocolCode, operation);
    const qint64 written = m_port->write(tx);
    if (written > 0)
        m_tap.noteSent(written == tx.size() ? tx : tx.left(written));
    if (written == tx.size())
        return;
    s.currentCommand = CommandCode::pause;
    if (written < 0 && !m_port->isOpen())
        return; // the device has gone; its loss is reported on its own
    m_prompt.message(QStringLiteral("%1_%2_%3_%4_%5")
                         .arg(written >= 0 ? 1 : 0)
                         .arg(tx.size())
                         .arg(qMax<qint64>(written, 0))
                         .arg(m_port->handleValue())
                         .arg(tr("Send the serial port error")));
}

void LinkController::restartSendTimer()
{
    m_sendTimer.stop();
    m_sendTimer.start();
}

void LinkController::stopSendTimer()
{
    m_sendTimer.stop();
}

void LinkController::countAnew()
{
    m_retryCount = 0;
    // No counted request has the pause code, so the next tick starts a count.
    m_lastSentCommand = CommandCode::pause;
}

void LinkController::armFirstSend()
{
    countAnew();
    if (m_portOpen)
        restartSendTimer();
}

void LinkController::load()
{
    Form &form = m_form;
    enumeratePorts();
    for (const QString &list : {LinkField::baud, LinkField::parity, LinkField::dataBits,
                                LinkField::address, LinkField::protocol})
        form.setChoice(list, 0);
    // Selecting an entry runs its list's action even when it was selected
    // already.
    applyAddress();
    applyProtocol();
    buildPortSettings();
}

void LinkController::refresh()
{
    load();
    buildPortSettings();
}

void LinkController::enumeratePorts()
{
    const PortMap map;
    QStringList entries;
    int selected = -1;
    m_portAccess.clear();
    for (int n = PortMap::firstNumber; n <= PortMap::lastNumber; ++n) {
        const QString device = map.deviceOf(n);
        if (device.isEmpty())
            continue;
        const PortIo::Access access = m_port->examine(device);
        if (access == PortIo::Access::Absent)
            continue;
        // A device this user may not open is listed all the same, marked, so
        // that it does not seem to be missing.
        if (access == PortIo::Access::Available)
            selected = int(entries.size());
        else
            m_portAccess.insert(n, access);
        entries << QStringLiteral("COM%1").arg(n);
    }
    if (selected < 0)
        selected = int(entries.size()) - 1;
    m_form.setEntries(LinkField::port, entries, selected);
}

PortIo::Access LinkController::portAccess(int number) const
{
    return m_portAccess.value(number, PortIo::Access::Available);
}

QString LinkController::accessSuffix(PortIo::Access access)
{
    switch (access) {
    case PortIo::Access::NoPermission:
        return tr(" (no permission)");
    case PortIo::Access::Busy:
        return tr(" (in use)");
    case PortIo::Access::Absent:
    case PortIo::Access::Available:
        break;
    }
    return {};
}

QString LinkController::portCaption(const QString &entry) const
{
    return entry + accessSuffix(portAccess(leadingNumber(entry.mid(3, 3))));
}

QString LinkController::accessNote(int number) const
{
    switch (portAccess(number)) {
    case PortIo::Access::NoPermission:
        return tr("You have no permission to open this port.");
    case PortIo::Access::Busy:
        return tr("Another program is using this port.");
    case PortIo::Access::Absent:
    case PortIo::Access::Available:
        break;
    }
    return {};
}

QString LinkController::permissionHelp(int number, const QString &device)
{
    // Serial devices belong to a group (dialout on most distributions, uucp on
    // some); adding oneself to root's group would be the wrong advice.
    QString group = QFileInfo(device).group();
    if (group.isEmpty() || group == QLatin1String("root"))
        group = QStringLiteral("dialout");
    return tr("You have no permission to open COM%1 (%2). On Linux, add your user to the group "
              "\"%3\" that owns the device:\n    sudo usermod -aG %3 $USER\nthen log out and "
              "log in again, and open the port once more.")
        .arg(number)
        .arg(QDir::toNativeSeparators(device), group);
}

QString LinkController::deviceOf(int number)
{
    return PortMap().deviceOf(number);
}

QString LinkController::settingsFromLists() const
{
    const Form &form = m_form;
    const QString baud = form.choiceText(LinkField::baud);
    const QString parity = form.choiceText(LinkField::parity);
    const QString dataBits = form.choiceText(LinkField::dataBits);
    if (baud.isEmpty() || parity.isEmpty() || dataBits.isEmpty())
        return {};
    return ModeString::compose(baud, parityLetter(parity), dataBits);
}

void LinkController::buildPortSettings()
{
    // A list without a selection leaves the settings as they were.
    const QString port = m_form.choiceText(LinkField::port);
    if (port.isEmpty())
        return;
    m_portNumber = leadingNumber(port.mid(3, 3));
    const QString settings = settingsFromLists();
    if (!settings.isEmpty())
        m_portSettings = settings;
}

void LinkController::applyAddress()
{
    const int index = m_form.choice(LinkField::address);
    if (index >= 0)
        m_exchange.deviceAddress = quint8(addressValue(index));
}

void LinkController::applyProtocol()
{
    const int index = m_form.choice(LinkField::protocol);
    if (index >= 0 && index < int(std::size(protocolValues)))
        m_exchange.protocolCode = protocolValues[index];
}

void LinkController::onLinkFormChanged(const QString &control)
{
    if (control == LinkField::address)
        applyAddress();
    else if (control == LinkField::protocol)
        applyProtocol();
    else if (control == LinkField::port || control == LinkField::baud ||
             control == LinkField::parity || control == LinkField::dataBits)
        buildPortSettings();
}

void LinkController::setListsEnabled(bool enabled)
{
    for (const QString &list : settingLists())
        m_form.setEnabled(list, enabled);
}

PortIo::OpenResult LinkController::tryOpen(int *errorCode)
{
    // An unmapped number gives no device name, which no port opens.
    const QString device = deviceOf(m_portNumber);
    m_lastOpenResult = m_port->open(device, ModeString::parse(m_portSettings), errorCode);
    if (m_lastOpenResult == PortIo::OpenResult::Ok) {
        m_openedDevice = device;
        m_openedLinked = PortMap().isLinked(m_portNumber);
        // Asked now: once the adapter is unplugged the system no longer knows it.
        m_openedSerialNumber = m_port->usbSerialNumber(device);
        m_tap.noteOpened(QStringLiteral("COM%1 (%2)").arg(m_portNumber).arg(device),
                         m_portSettings);
    }
    return m_lastOpenResult;
}

bool LinkController::openPort()
{
    int error = 0;
    const PortIo::OpenResult result = tryOpen(&error);
    if (result == PortIo::OpenResult::Ok)
        return true;
    showOpenFailure(result, error);
    return false;
}

void LinkController::showOpenFailure(PortIo::OpenResult result, int errorCode)
{
    // These three are Chinese whatever the language.
    UserPrompt &prompt = m_prompt;
    const QString number = QString::number(m_portNumber);
    const QString code = QString::number(errorCode);
    switch (result) {
    case PortIo::OpenResult::Ok:
        break;
    case PortIo::OpenResult::InvalidPort:
    case PortIo::OpenResult::NoPermission:
        prompt.message(chineseOnly(ChineseOnlyText::portInvalid).arg(number), {},
                       UserPrompt::Icon::Warning);
        break;
    case PortIo::OpenResult::InvalidTimeouts:
        prompt.message(chineseOnly(ChineseOnlyText::portTimeoutsInvalid).arg(number, code));
        break;
    case PortIo::OpenResult::InvalidSettings:
        prompt.message(chineseOnly(ChineseOnlyText::portSettingsInvalid).arg(m_portSettings, code));
        break;
    }
}

void LinkController::toggleOpen()
{
    // The user has taken over: a lost device is no longer waited for.
    m_reconnector.cancel();
    clearReceiveBuffer();
    if (m_portOpen) {
        closePort(true);
        return;
    }
    buildPortSettings();
    if (!openPort()) {
        m_prompt.message(tr("Error: Closing Port COM%1fail，Please check COM%1Is it still being "
                            "read or written or corrupted")
                             .arg(m_portNumber),
                         tr("warn"), UserPrompt::Icon::Warning);
        // The two messages above do not say why; this one does, and how to
        // mend it.
        if (m_lastOpenResult == PortIo::OpenResult::NoPermission)
            m_prompt.message(permissionHelp(m_portNumber, deviceOf(m_portNumber)), tr("warn"),
                             UserPrompt::Icon::Warning);
        return;
    }
    enterOpenState();
}

bool LinkController::reopenQuietly(int number)
{
    if (m_portOpen)
        return true;
    Form &form = m_form;
    const QString entry = QStringLiteral("COM%1").arg(number);
    if (!form.entries(LinkField::port).contains(entry))
        enumeratePorts();
    const int index = int(form.entries(LinkField::port).indexOf(entry));
    if (index < 0)
        return false;
    form.setChoice(LinkField::port, index);
    clearReceiveBuffer();
    buildPortSettings();
    int error = 0;
    if (tryOpen(&error) != PortIo::OpenResult::Ok)
        return false;
    enterOpenState();
    return true;
}

void LinkController::enterOpenState()
{
    m_form.setEnabled(LinkField::refresh, false);
    m_hooks->portOpening();
    m_portOpen = true;
    emit portOpenChanged(true);
    setListsEnabled(false);
    m_sendTimer.start();
    m_receiveTimer.start();
}

void LinkController::closePort(bool flush)
{
    m_portOpen = false;
    m_form.setEnabled(LinkField::refresh, true);
    if (flush)
        m_port->flush();
    m_port->close();
    m_hooks->setStatusLine(QString());
    emit portOpenChanged(false);
    setListsEnabled(true);
    m_sendTimer.stop();
    m_receiveTimer.stop();
    m_hooks->portClosed();
}

bool LinkController::reopen(int baudIndex, int parityIndex)
{
    Form &form = m_form;
    m_port->close();
    form.setChoice(LinkField::baud, baudIndex);
    form.setChoice(LinkField::parity, parityIndex);
    buildPortSettings();
    // A port the user has closed stays closed.
    if (!m_portOpen)
        return false;
    if (openPort())
        return true;
    closePort(false);
    return false;
}

void LinkController::shutdown()
{
    m_reconnector.cancel();
    m_sendTimer.stop();
    m_receiveTimer.stop();
    m_port->close();
    if (m_portOpen) {
        m_portOpen = false;
        emit portOpenChanged(false);
    }
}

void LinkController::sendTick()
{
    // While the bus scan or the bank page has the line, they send themselves.
    // Messages never wait for OK (the prompt shows them and returns), so a
    // tick starts inside a dispatch only if something there runs an event loop
    // of its own; it then leaves the line alone.
    if (m_assembler.busy() || m_lineLent)
        return;
    LinkExchange &s = m_exchange;

    if (s.currentCommand > CommandCode::pause && s.currentCommand == m_lastSentCommand)
        ++m_retryCount;
    else
        m_retryCount = 0;
    if (s.linkCountdown > std::numeric_limits<qint32>::min())
        --s.linkCountdown;

    if (m_retryCount > 4 && s.currentCommand != CommandCode::upgrade) {
        m_retryCount = 0;
        s.currentCommand = CommandCode::pause;
        m_prompt.message(tr("Send failed"));
        m_hooks->sendAbandoned(m_lastSentCommand);
    }
    if (m_retryCount > 40 && s.currentCommand == CommandCode::upgrade) {
        m_retryCount = 0;
        s.currentCommand = CommandCode::pause;
        m_hooks->sendAbandoned(CommandCode::upgrade);
    }
    m_lastSentCommand = s.currentCommand;
    if (m_request)
        m_request();
    else
        m_hooks->sendDue();
}

void LinkController::receiveTick()
{
    if (m_portOpen && !m_lineLent)
        receiveStep();
}

void LinkController::receiveStep()
{
    if (m_assembler.busy())
        return; // bytes stay in the port until the running step is done
    const QByteArray bytes = m_port->read(ReceiveAssembler::maxRead);
    if (bytes.isEmpty())
        return;
    LinkExchange &s = m_exchange;
    m_assembler.step(bytes, s.deviceAddress, s.protocolCode,
                     [this, &s](QByteArrayView frame, int n) {
                         m_tap.noteAccepted(frame);
                         s.rxFrame = frame.toByteArray();
                         s.rxDataLength = n;
                         if (m_dispatch)
                             m_dispatch();
                         else
                             m_hooks->frameAccepted();
                     });
}

void LinkController::clearReceiveBuffer()
{
    m_assembler.clear();
}

void LinkController::onPortLost()
{
    if (!m_portOpen)
        return;
    emit portLosing();
    // Nothing may be sent or read while the message is up, or every tick would
    // add a message of its own.
    m_sendTimer.stop();
    m_receiveTimer.stop();
    LinkExchange &s = m_exchange;
    // Nothing received before the loss is live any more: the recording stops
    // now, not when the message has been read (it would write the last values
    // once a second meanwhile), and no later line may be made of them.
    s.linkCountdown = qMin(s.linkCountdown, 0);
    const LinkHooks::LineLoss loss = m_hooks->lineLost();

    if (m_reconnector.enabled()) {
        const Reconnector::Lost lost{m_portNumber,         m_openedDevice,   m_openedLinked,
                                     m_openedSerialNumber, s.currentCommand, loss};
        toggleOpen();
        m_reconnector.watch(lost);
        return;
    }
    QString text = tr("The serial port COM%1 (%2) was disconnected. Check the cable "
                      "and the adapter, then open the port again.")
                       .arg(m_portNumber)
                       .arg(m_openedDevice);
    if (loss.recording)
        text += QLatin1Char('\n') + loss.recordingNote;
    m_prompt.message(text, tr("warn"), UserPrompt::Icon::Warning);
    if (m_portOpen)
        toggleOpen();
}
