#pragma once

#include <QString>

// Topic names. A battery ID is typed into the pack by whoever assembled it and
// may hold spaces, '/', or MQTT's wildcards; as one topic level (and as part of
// a Home Assistant object id) it keeps only letters, digits, '-' and '_'.
namespace MqttTopics {
QString level(const QString &text);
QString state(const QString &prefix, const QString &packKey);
QString availability(const QString &prefix, const QString &packKey);
// The bridge's own presence: online while it is connected, the broker's will
// sets it offline when the bridge vanishes without saying goodbye.
QString bridgeAvailability(const QString &prefix);
QString discoveryConfig(const QString &discoveryPrefix, const QString &objectId);
} // namespace MqttTopics
