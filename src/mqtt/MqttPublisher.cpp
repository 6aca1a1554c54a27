#include "mqtt/MqttPublisher.h"

#include "mqtt/HaDiscovery.h"
#include "mqtt/MqttTopics.h"

#include <QJsonDocument>

namespace {
const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");
} // namespace

MqttPublisher::MqttPublisher(const MqttOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_connection(options)
{
    connect(&m_connection, &MqttConnection::connectedChanged, this,
            &MqttPublisher::connectedChanged);
    connect(&m_connection, &MqttConnection::retryScheduled, this, &MqttPublisher::retryScheduled);
    connect(&m_connection, &MqttConnection::stopped, this, &MqttPublisher::stopped);
}

Result<void> MqttPublisher::start()
{
    if (Result<void> valid = m_options.validate(); !valid)
        return valid;
    const QString bridge = MqttTopics::bridgeAvailability(m_options.topicPrefix);
    m_connection.setWill(bridge, kOffline);
    m_connection.publish(bridge, kOnline, true);
    return m_connection.start();
}

QString MqttPublisher::keyFor(int address, const QString &batteryId) const
{
    QString key = MqttTopics::level(batteryId);
    if (key.isEmpty())
        key = QStringLiteral("pack%1").arg(address);
    for (auto it = m_packs.cbegin(); it != m_packs.cend(); ++it) {
        if (it.key() != address && it->key == key)
            return key + QStringLiteral("_%1").arg(address);
    }
    return key;
}

void MqttPublisher::publishState(const QJsonObject &state)
{
    const int address = state.value(QLatin1String("address")).toInt();
    const QString key = keyFor(address, state.value(QLatin1String("battery_id")).toString());
    Pack &pack = m_packs[address];
    if (pack.key != key) {
        // A pack given a new battery ID: its old topics say it is gone.
        if (!pack.key.isEmpty())
            setOnline(pack, false);
        pack = Pack{key, false};
        if (m_options.haDiscovery) {
            for (const MqttMessage &m : HaDiscovery::configs(m_options, key, state))
                m_connection.publish(m.topic, m.payload, true);
        }
    }
    setOnline(pack, true);
    m_connection.publish(MqttTopics::state(m_options.topicPrefix, key),
                         QJsonDocument(state).toJson(QJsonDocument::Compact), false);
}

void MqttPublisher::publishUnavailable(int address)
{
    auto it = m_packs.find(address);
    if (it != m_packs.end())
        setOnline(*it, false);
}

void MqttPublisher::setOnline(Pack &pack, bool online)
{
    if (pack.online == online)
        return;
    pack.online = online;
    m_connection.publish(MqttTopics::availability(m_options.topicPrefix, pack.key),
                         online ? kOnline : kOffline, true);
}

void MqttPublisher::stop()
{
    QList<MqttMessage> farewell;
    for (Pack &pack : m_packs) {
        pack.online = false;
        farewell.append({MqttTopics::availability(m_options.topicPrefix, pack.key), kOffline});
    }
    farewell.append({MqttTopics::bridgeAvailability(m_options.topicPrefix), kOffline});
    m_connection.stop(farewell);
}
