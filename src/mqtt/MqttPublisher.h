#pragma once

#include "mqtt/MqttConnection.h"

#include <QHash>
#include <QJsonObject>

// Publishes the packs' live values to a broker: per pack a state message each
// cycle and an availability topic, with discovery on also Home Assistant's
// configs. The bridge's own availability topic is the connection's will; an
// entity is available while both the bridge and its pack are online.
//
// A pack's topics are named after its battery ID (a pack without one after its
// address); two packs whose IDs read alike get the address appended, so their
// values never mix.
class MqttPublisher : public QObject {
    Q_OBJECT
public:
    explicit MqttPublisher(const MqttOptions &options, QObject *parent = nullptr);

    // Checks the options and starts connecting.
    Result<void> start();
    // One cycle's values of a pack that answered, as the poller gives them
    // (the members "address" and "battery_id" name the pack).
    void publishState(const QJsonObject &state);
    // A pack that did not answer this cycle.
    void publishUnavailable(int address);
    // Marks every pack and the bridge offline, disconnects, emits stopped().
    void stop();

    bool isConnected() const { return m_connection.isConnected(); }
    int pendingCount() const { return m_connection.pendingCount(); }
    // The topic level of the pack at this address; empty before its first state.
    QString packKey(int address) const { return m_packs.value(address).key; }

signals:
    void connectedChanged(bool connected);
    void retryScheduled(int delayMs, const QString &reason);
    void stopped();

private:
    struct Pack {
        QString key;
        bool online = false;
    };
    QString keyFor(int address, const QString &batteryId) const;
    void setOnline(Pack &pack, bool online);

    MqttOptions m_options;
    MqttConnection m_connection;
    QHash<int, Pack> m_packs;
};
