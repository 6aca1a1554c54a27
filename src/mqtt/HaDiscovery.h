#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

struct MqttOptions;

struct MqttMessage {
    QString topic;
    QByteArray payload;
};

// Home Assistant's MQTT discovery: one retained config per sensor of a pack,
// each reading its value out of the pack's state message. The entities are
// available only while both the bridge and the pack are.
namespace HaDiscovery {
QList<MqttMessage> configs(const MqttOptions &options, const QString &packKey,
                           const QJsonObject &state);
}
