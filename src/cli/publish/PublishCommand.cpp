#include "cli/publish/PublishCommand.h"

#include "cli/CliSession.h"
#include "cli/PackJson.h"
#include "cli/WatchLoop.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "mqtt/MqttOptions.h"
#include "mqtt/MqttPublisher.h"

#include <QCoreApplication>

namespace {
constexpr int infoTab = 2;
// A broker that does not take the last will's place within this time is left.
constexpr int stopGraceMs = 3000;
} // namespace

PublishCommand::PublishCommand(CliSession &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        if (!m_stopping)
            m_loop->start();
    });
}

PublishCommand::~PublishCommand() = default;

void PublishCommand::start()
{
    const CliOptions::Mqtt &given = m_session.options().mqtt;
    MqttOptions options;
    if (const Result<void> parsed = parseBrokerAddress(given.broker, &options); !parsed) {
        m_session.finish(CliOptions::exitUsage, parsed.error().message);
        return;
    }
    options.username = given.username;
    if (!given.passwordFile.isEmpty()) {
        const Result<QString> password = readPasswordFile(given.passwordFile);
        if (!password) {
            m_session.finish(CliOptions::exitFile, password.error().message);
            return;
        }
        options.password = *password;
    }
    options.tlsCaFile = given.tlsCaFile;
    options.topicPrefix = given.topicPrefix;
    options.intervalSeconds = given.intervalSeconds;
    options.haDiscovery = given.haDiscovery;

    m_publisher = std::make_unique<MqttPublisher>(options);
    if (const Result<void> started = m_publisher->start(); !started) {
        m_session.finish(CliOptions::exitUsage, started.error().message);
        return;
    }
    connect(
        m_publisher.get(), &MqttPublisher::retryScheduled, this,
        [](int delayMs, const QString &reason) {
            QString why = reason.simplified();
            while (why.endsWith(QLatin1Char('.')))
                why.chop(1);
            CliSession::err(
                tr("MQTT: %1; trying again in %2 s.").arg(why).arg(delayMs / 1000.0, 0, 'f', 1));
        });
    connect(m_publisher.get(), &MqttPublisher::connectedChanged, this, [](bool connected) {
        if (connected)
            CliSession::err(tr("MQTT: connected."));
    });

    // The line is the bridge's to keep: an unplugged adapter is waited for.
    m_session.setEndOnPortLoss(false);
    m_session.setMessageHandler([](const QString &text, UserPrompt::Icon) {
        if (text != QLatin1String("7"))
            CliSession::err(text.simplified());
    });
    if (!m_session.open(infoTab)) {
        m_publisher->stop();
        return;
    }
    AppState &state = m_session.core().state;
    state.link.setCheck(LinkField::reconnect, 1);
    // A lost line and its return are said once each, as the window's status
    // line says them; the polling's own captions stay off the log.
    LinkController &link = m_session.core().link;
    connect(&link.reconnector(), &Reconnector::reconnected, this,
            [this] { CliSession::err(m_session.core().state.statusLine().simplified()); });
    connect(&link, &LinkController::portLosing, this, [this] {
        QTimer::singleShot(
            0, this, [this] { CliSession::err(m_session.core().state.statusLine().simplified()); });
    });

    m_loop = std::make_unique<WatchLoop>(m_session, m_session.options().addresses);
    m_loop->setPackHandler([this](int address, const Form &info) {
        if (m_silent.remove(address))
            CliSession::err(tr("The BMS at address %1 answers again.").arg(address));
        m_publisher->publishState(PackJson::state(address, info));
    });
    m_loop->setSilentHandler([this](int address) {
        // Said once, not every round: the log of a bridge that runs for
        // months with one pack switched off stays readable.
        if (!m_silent.contains(address)) {
            m_silent.insert(address);
            CliSession::err(m_session.silenceText());
        }
        m_publisher->publishUnavailable(address);
    });
    m_loop->setRoundHandler([this] { return nextRound(); });
    m_round.start();
    m_loop->start();
}

bool PublishCommand::nextRound()
{
    if (m_stopping)
        return false;
    const qint64 rest = m_session.options().mqtt.intervalSeconds * 1000LL - m_round.elapsed();
    m_round.start();
    if (rest <= 0)
        return true;
    // The live reads go on meanwhile; the next round takes the cycle after
    // the pause.
    m_pause.start(int(rest));
    return false;
}

void PublishCommand::interrupt()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_pause.stop();
    if (m_loop)
        m_loop->stop();
    if (!m_publisher) {
        m_session.finish(CliOptions::exitOk);
        return;
    }
    connect(m_publisher.get(), &MqttPublisher::stopped, this,
            [this] { m_session.finish(CliOptions::exitOk); });
    QTimer::singleShot(stopGraceMs, this, [this] { m_session.finish(CliOptions::exitOk); });
    m_publisher->stop();
}
