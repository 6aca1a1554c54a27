#include "cli/CliSession.h"

#include "cli/DevicePortIo.h"
#include "link/CommandCode.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

namespace {
constexpr quint8 customTextItem = 19;

// The number of "COM7", or -1 when `port` names a device instead.
int comNumber(const QString &port)
{
    static const QRegularExpression com(QStringLiteral("^COM(\\d{1,2})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(port);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

CliSession::CliSession(const CliOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
    m_device = comNumber(options.port) < 0 ? options.port : QString();
    m_core = std::make_unique<Core>(m_prompt, std::make_unique<DevicePortIo>(m_device));
    m_core->state.setEnglishUi(options.english);
    m_prompt.setAnswerYes(options.yes);
    m_prompt.setListener(
        [this](const QString &text, UserPrompt::Icon icon) { onMessage(text, icon); });
    m_core->link.setDispatchHandler([this] { dispatch(); });
    connect(&m_core->link, &LinkController::portLosing, this, [this] {
        if (m_endOnPortLoss)
            finish(CliOptions::exitNoAnswer,
                   tr("The serial port %1 was disconnected.").arg(portName()));
    });
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        if (m_onSilence && !m_finished)
            m_onSilence();
    });
}

CliSession::~CliSession()
{
    m_core->shutdown();
}

bool CliSession::selectPort()
{
    LinkController &link = m_core->link;
    Form &form = m_core->state.link;
    link.load();
    const QString port = m_options.port;
    if (port.isEmpty()) {
        if (form.choiceText(LinkField::port).isEmpty()) {
            finish(CliOptions::exitNoAnswer, tr("No serial port was found. Name one with --port."));
            return false;
        }
        m_portNumber = link.portNumber();
        return true;
    }
    m_portNumber = comNumber(port);
    if (m_portNumber >= 0) {
        if (PortMap().deviceOf(m_portNumber).isEmpty()) {
            finish(CliOptions::exitNoAnswer,
                   tr("COM%1 stands for no device here.").arg(m_portNumber));
            return false;
        }
    } else {
        if (!QFileInfo::exists(port)) {
            finish(CliOptions::exitNoAnswer, tr("The device %1 does not exist.").arg(port));
            return false;
        }
        // Known by its COM number when the port list has one for it.
        m_portNumber = 0;
        const QString canonical = QFileInfo(port).canonicalFilePath();
        const PortMap map;
        for (int n = PortMap::firstNumber; n <= PortMap::lastNumber && m_portNumber == 0; ++n) {
            const QString device = map.deviceOf(n);
            if (!device.isEmpty() && QFileInfo(device).canonicalFilePath() == canonical)
                m_portNumber = n;
        }
    }
    const QString entry = QStringLiteral("COM%1").arg(m_portNumber);
    const int index = int(form.entries(LinkField::port).indexOf(entry));
    if (index >= 0)
        form.setChoice(LinkField::port, index);
    else
        form.setEntries(LinkField::port, {entry}, 0);
    link.buildPortSettings();
    return true;
}

QString CliSession::portName() const
{
    const QString device = m_device.isEmpty() ? PortMap().deviceOf(m_portNumber) : m_device;
    return m_portNumber > 0 ? QStringLiteral("COM%1 (%2)").arg(m_portNumber).arg(device) : device;
}

bool CliSession::open(int tab)
{
    m_core->selectTab(tab);
    if (!selectPort())
        return false;
    AppState &s = m_core->state;
    s.link.setChoice(LinkField::baud, m_options.baudIndex);
    s.link.setChoice(LinkField::parity, m_options.parityIndex);
    s.deviceAddress = quint8(m_options.addresses.value(0, 255));
    m_openMessages.clear();
    m_opening = true;
    m_core->link.toggleOpen();
    m_opening = false;
    if (m_core->link.portOpen())
        return true;
    QString error = tr("Cannot open the serial port %1.").arg(portName());
    // After the two messages every failure shows comes the advice for one
    // this user may mend.
    if (m_openMessages.size() > 2)
        error += QLatin1Char(' ') + m_openMessages.last().simplified();
    finish(CliOptions::exitNoAnswer, error);
    return false;
}

void CliSession::onMessage(const QString &text, UserPrompt::Icon icon)
{
    if (m_opening) {
        m_openMessages << text;
        return;
    }
    if (m_finished)
        return;
    if (m_onMessage)
        m_onMessage(text, icon);
    else
        err(text.simplified());
}

void CliSession::dispatch()
{
    AppState &s = m_core->state;
    const quint8 before = s.currentCommand;
    const QByteArray frame = s.rxFrame;
    if (m_watchdog.isActive())
        m_watchdog.start();
    m_core->responses.dispatchResponse();
    if (m_finished)
        return;
    emit frameAccepted();
    if (before == CommandCode::lastLiveRead && frame.size() > 4 && quint8(frame[3]) == 0 &&
        quint8(frame[4]) == customTextItem)
        emit cycleCompleted();
}

void CliSession::armWatchdog(std::function<void()> onSilence, int ms)
{
    m_onSilence = std::move(onSilence);
    m_watchdog.start(ms > 0 ? ms : m_options.timeoutMs);
}

void CliSession::stopWatchdog()
{
    m_watchdog.stop();
}

QString CliSession::silenceText() const
{
    return tr("The BMS at address %1 did not answer within %2 s.")
        .arg(m_core->state.deviceAddress)
        .arg(m_options.timeoutMs / 1000.0);
}

void CliSession::finish(int code, const QString &error)
{
    if (m_finished)
        return;
    m_finished = true;
    m_exitCode = code;
    stopWatchdog();
    if (m_progressShown)
        std::fputs("\n", stderr);
    if (!error.isEmpty())
        err(QStringLiteral("cellvane-cli: ") + error.simplified());
    m_core->shutdown();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [code] { QCoreApplication::exit(code); },
        Qt::QueuedConnection);
}

void CliSession::out(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void CliSession::err(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

bool CliSession::stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void CliSession::progress(const QString &text)
{
    if (!stderrIsTerminal())
        return;
    std::fprintf(stderr, "\r%s\x1b[K", text.toLocal8Bit().constData());
    m_progressShown = true;
}
