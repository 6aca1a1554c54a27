#include "mqtt/MqttConnection.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mosquitto.h>

namespace {

void initialiseLibrary()
{
    static const bool done = [] {
        mosquitto_lib_init();
        // A broker that goes away leaves a socket that a write would answer
        // with SIGPIPE, which ends the process; the write's error is enough.
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
}

QString libraryError(int rc)
{
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

constexpr int kQosRetained = 1; // retained messages must arrive
constexpr int kQosState = 0;    // the next cycle brings a new one anyway

} // namespace

MqttConnection::MqttConnection(const MqttOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_delayMs(options.reconnectMinMs)
{
    m_misc.setInterval(1000);
    connect(&m_misc, &QTimer::timeout, this, [this] {
        if (m_linkInUse)
            settle(mosquitto_loop_misc(m_mosq));
    });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttConnection::connectNow);
    m_connectTimeout.setSingleShot(true);
    connect(&m_connectTimeout, &QTimer::timeout, this, [this] {
        if (!m_connected)
            lose(tr("The broker did not answer within %1 s.")
                     .arg(m_options.connectTimeoutMs / 1000.0));
    });
    m_stopTimeout.setSingleShot(true);
    connect(&m_stopTimeout, &QTimer::timeout, this, &MqttConnection::finishStop);
}

MqttConnection::~MqttConnection()
{
    dropNotifiers();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
}

void MqttConnection::setWill(const QString &topic, const QByteArray &payload)
{
    m_willTopic = topic;
    m_willPayload = payload;
}

Result<void> MqttConnection::start()
{
    initialiseLibrary();
    const QByteArray id = m_options.clientId.toUtf8();
    m_mosq = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!m_mosq)
        return Error{tr("The MQTT client cannot be created: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_mosq, &MqttConnection::onConnect);
    mosquitto_disconnect_callback_set(m_mosq, &MqttConnection::onDisconnect);
    mosquitto_publish_callback_set(m_mosq, &MqttConnection::onPublish);
    int rc = MOSQ_ERR_SUCCESS;
    if (!m_options.username.isEmpty())
        rc = mosquitto_username_pw_set(
            m_mosq, m_options.username.toUtf8().constData(),
            m_options.password.isEmpty() ? nullptr : m_options.password.toUtf8().constData());
    if (rc == MOSQ_ERR_SUCCESS && !m_willTopic.isEmpty())
        rc = mosquitto_will_set(m_mosq, m_willTopic.toUtf8().constData(), int(m_willPayload.size()),
                                m_willPayload.constData(), kQosRetained, true);
    if (rc != MOSQ_ERR_SUCCESS)
        return Error{tr("The MQTT client refuses the options: %1").arg(libraryError(rc))};
    if (!m_options.tlsCaFile.isEmpty()) {
        rc = mosquitto_tls_set(m_mosq, m_options.tlsCaFile.toLocal8Bit().constData(), nullptr,
                               nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            return Error{
                tr("TLS cannot be set up with %1: %2").arg(m_options.tlsCaFile, libraryError(rc))};
    }
    m_misc.start();
    connectNow();
    return {};
}

void MqttConnection::connectNow()
{
    if (m_stopping)
        return;
    dropNotifiers();
    m_gotConnack = m_gotDisconnect = false;
    const int rc = mosquitto_connect_async(m_mosq, m_options.host.toUtf8().constData(),
                                           m_options.port, m_options.keepAliveSeconds());
    if (rc != MOSQ_ERR_SUCCESS) {
        lose(libraryError(rc));
        return;
    }
    m_linkInUse = true;
    m_connectTimeout.start(m_options.connectTimeoutMs);
    syncNotifiers();
}

void MqttConnection::publish(const QString &topic, const QByteArray &payload, bool retain)
{
    if (retain)
        keep(m_retained, topic, payload);
    if (!m_connected || m_stopping) {
        if (!retain)
            keep(m_pending, topic, payload);
        return;
    }
    send({topic, payload}, retain);
    syncNotifiers();
}

void MqttConnection::send(const MqttMessage &message, bool retain)
{
    const int rc = mosquitto_publish(m_mosq, nullptr, message.topic.toUtf8().constData(),
                                     int(message.payload.size()), message.payload.constData(),
                                     retain ? kQosRetained : kQosState, retain);
    // A connection that broke under the write shows up at the next read;
    // the message waits for the next connection like any other.
    if (rc != MOSQ_ERR_SUCCESS && !retain)
        keep(m_pending, message.topic, message.payload);
}

void MqttConnection::stop(const QList<MqttMessage> &farewell)
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_retry.stop();
    if (!m_connected) {
        QTimer::singleShot(0, this, &MqttConnection::finishStop);
        return;
    }
    for (const MqttMessage &m : farewell) {
        int mid = 0;
        if (mosquitto_publish(m_mosq, &mid, m.topic.toUtf8().constData(), int(m.payload.size()),
                              m.payload.constData(), kQosRetained, true) == MOSQ_ERR_SUCCESS)
            m_farewellMids.insert(mid);
    }
    // A broker that stops answering now does not hold the program up.
    m_stopTimeout.start(3000);
    settle(MOSQ_ERR_SUCCESS);
}

void MqttConnection::onConnect(mosquitto *, void *self, int rc)
{
    auto *c = static_cast<MqttConnection *>(self);
    c->m_gotConnack = true;
    c->m_connackRc = rc;
}

void MqttConnection::onDisconnect(mosquitto *, void *self, int rc)
{
    auto *c = static_cast<MqttConnection *>(self);
    c->m_gotDisconnect = true;
    c->m_disconnectRc = rc;
}

void MqttConnection::onPublish(mosquitto *, void *self, int mid)
{
    static_cast<MqttConnection *>(self)->m_farewellMids.remove(mid);
}

void MqttConnection::settle(int rc)
{
    if (m_stopped)
        return;
    if (m_gotConnack) {
        m_gotConnack = false;
        if (m_connackRc != 0) {
            lose(tr("The broker refused the connection: %1")
                     .arg(QString::fromUtf8(mosquitto_connack_string(m_connackRc))));
            return;
        }
        m_connectTimeout.stop();
        m_connected = true;
        m_delayMs = m_options.reconnectMinMs;
        for (const MqttMessage &m : std::as_const(m_retained))
            send(m, true);
        const QList<MqttMessage> waiting = std::exchange(m_pending, {});
        for (const MqttMessage &m : waiting)
            send(m, false);
        emit connectedChanged(true);
        if (m_stopped)
            return;
    }
    if (m_stopping && m_connected && m_farewellMids.isEmpty() && !m_disconnectSent) {
        m_disconnectSent = true;
        mosquitto_disconnect(m_mosq);
    }
    if (m_gotDisconnect || rc != MOSQ_ERR_SUCCESS) {
        if (m_stopping) {
            finishStop();
            return;
        }
        const int why = m_gotDisconnect ? m_disconnectRc : rc;
        lose(why == MOSQ_ERR_SUCCESS ? tr("The broker closed the connection.") : libraryError(why));
        return;
    }
    syncNotifiers();
}

void MqttConnection::lose(const QString &reason)
{
    m_gotDisconnect = false;
    // A socket left open (a broker that never answered) is closed by the
    // next attempt; until then nothing reads it.
    m_linkInUse = false;
    dropNotifiers();
    m_connectTimeout.stop();
    const bool was = std::exchange(m_connected, false);
    if (m_stopping) {
        finishStop();
        return;
    }
    if (m_retry.isActive())
        return;
    const int delay = m_delayMs;
    m_delayMs = std::min(m_delayMs * 2, m_options.reconnectMaxMs);
    m_retry.start(delay);
    if (was)
        emit connectedChanged(false);
    emit retryScheduled(delay, reason);
}

void MqttConnection::finishStop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_stopTimeout.stop();
    m_connectTimeout.stop();
    m_retry.stop();
    m_misc.stop();
    m_linkInUse = false;
    dropNotifiers();
    const bool was = std::exchange(m_connected, false);
    if (was)
        emit connectedChanged(false);
    emit stopped();
}

void MqttConnection::syncNotifiers()
{
    const int fd = m_linkInUse ? mosquitto_socket(m_mosq) : -1;
    if (fd != m_fd) {
        dropNotifiers();
        if (fd < 0)
            return;
        m_fd = fd;
        m_read = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_read, &QSocketNotifier::activated, this,
                [this] { settle(mosquitto_loop_read(m_mosq, 1)); });
        m_write = new QSocketNotifier(fd, QSocketNotifier::Write, this);
        connect(m_write, &QSocketNotifier::activated, this,
                [this] { settle(mosquitto_loop_write(m_mosq, 1)); });
    }
    if (m_write)
        m_write->setEnabled(mosquitto_want_write(m_mosq));
}

void MqttConnection::dropNotifiers()
{
    // deleteLater: this may run inside one of their own activations.
    if (m_read) {
        m_read->setEnabled(false);
        m_read->deleteLater();
        m_read = nullptr;
    }
    if (m_write) {
        m_write->setEnabled(false);
        m_write->deleteLater();
        m_write = nullptr;
    }
    m_fd = -1;
}

void MqttConnection::keep(QList<MqttMessage> &list, const QString &topic, const QByteArray &payload)
{
    for (MqttMessage &m : list) {
        if (m.topic == topic) {
            m.payload = payload;
            return;
        }
    }
    if (list.size() >= kMaxKeptTopics)
        list.removeFirst();
    list.append({topic, payload});
}
