#include "mqtt/HaDiscovery.h"

#include "mqtt/MqttOptions.h"
#include "mqtt/MqttTopics.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

struct Sensor {
    const char *key;   // part of the unique id
    const char *field; // the state message's member it shows
    const char *name;
    const char *unit; // empty: none
    const char *deviceClass;
};

// The sensors a technician looks at first; the cell list stays in the state
// message for whoever wants it.
constexpr Sensor kSensors[] = {
    {"voltage", "total_voltage", QT_TRANSLATE_NOOP("HaDiscovery", "Voltage"), "V", "voltage"},
    {"current", "current", QT_TRANSLATE_NOOP("HaDiscovery", "Current"), "A", "current"},
    {"soc", "soc", QT_TRANSLATE_NOOP("HaDiscovery", "State of charge"), "%", "battery"},
    {"soh", "soh", QT_TRANSLATE_NOOP("HaDiscovery", "State of health"), "%", ""},
    {"cell_max", "cell_max_voltage", QT_TRANSLATE_NOOP("HaDiscovery", "Highest cell"), "V",
     "voltage"},
    {"cell_min", "cell_min_voltage", QT_TRANSLATE_NOOP("HaDiscovery", "Lowest cell"), "V",
     "voltage"},
    {"cell_diff", "cell_diff", QT_TRANSLATE_NOOP("HaDiscovery", "Cell difference"), "mV",
     "voltage"},
    {"temp_max", "temp_max", QT_TRANSLATE_NOOP("HaDiscovery", "Highest temperature"), "°C",
     "temperature"},
    {"temp_min", "temp_min", QT_TRANSLATE_NOOP("HaDiscovery", "Lowest temperature"), "°C",
     "temperature"},
};

QJsonObject common(const MqttOptions &options, const QString &packKey, const QJsonObject &state,
                   const QString &what)
{
    const QString batteryId = state.value(QLatin1String("battery_id")).toString().trimmed();
    const int address = state.value(QLatin1String("address")).toInt();
    QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{QStringLiteral("cellvane_") + packKey}},
        {QStringLiteral("name"),
         batteryId.isEmpty()
             ? QCoreApplication::translate("HaDiscovery", "Battery at address %1").arg(address)
             : QCoreApplication::translate("HaDiscovery", "Battery %1").arg(batteryId)},
        {QStringLiteral("manufacturer"), options.manufacturer},
        {QStringLiteral("model"), state.value(QLatin1String("model")).toString().trimmed().isEmpty()
                                      ? QCoreApplication::translate("HaDiscovery", "Battery pack")
                                      : state.value(QLatin1String("model")).toString().trimmed()},
    };
    const QString software = state.value(QLatin1String("software_version")).toString();
    if (!software.isEmpty())
        device.insert(QStringLiteral("sw_version"), software);
    const QString unique = QStringLiteral("cellvane_%1_%2").arg(packKey, what);
    return {
        {QStringLiteral("unique_id"), unique},
        {QStringLiteral("object_id"), unique},
        {QStringLiteral("has_entity_name"), true},
        {QStringLiteral("state_topic"), MqttTopics::state(options.topicPrefix, packKey)},
        {QStringLiteral("availability"),
         QJsonArray{
             QJsonObject{
                 {QStringLiteral("topic"), MqttTopics::bridgeAvailability(options.topicPrefix)}},
             QJsonObject{
                 {QStringLiteral("topic"), MqttTopics::availability(options.topicPrefix, packKey)}},
         }},
        {QStringLiteral("availability_mode"), QStringLiteral("all")},
        {QStringLiteral("device"), device},
    };
}

MqttMessage message(const MqttOptions &options, const QJsonObject &config)
{
    return {MqttTopics::discoveryConfig(options.discoveryPrefix,
                                        config.value(QLatin1String("unique_id")).toString()),
            QJsonDocument(config).toJson(QJsonDocument::Compact)};
}

} // namespace

QList<MqttMessage> HaDiscovery::configs(const MqttOptions &options, const QString &packKey,
                                        const QJsonObject &state)
{
    QList<MqttMessage> out;
    for (const Sensor &s : kSensors) {
        QJsonObject config = common(options, packKey, state, QLatin1String(s.key));
        config.insert(QStringLiteral("name"), QCoreApplication::translate("HaDiscovery", s.name));
        config.insert(QStringLiteral("value_template"),
                      QStringLiteral("{{ value_json.%1 }}").arg(QLatin1String(s.field)));
        config.insert(QStringLiteral("unit_of_measurement"), QString::fromUtf8(s.unit));
        if (*s.deviceClass)
            config.insert(QStringLiteral("device_class"), QLatin1String(s.deviceClass));
        config.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
        out.append(message(options, config));
    }
    // The lists of texts may be long; the sensor counts them and carries the
    // texts as attributes, so that an automation can trigger on "above 0".
    QJsonObject alarms = common(options, packKey, state, QStringLiteral("alarms"));
    alarms.insert(QStringLiteral("name"), QCoreApplication::translate("HaDiscovery", "Alarms"));
    alarms.insert(QStringLiteral("icon"), QStringLiteral("mdi:alert"));
    alarms.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ (value_json.alarms | count) + (value_json.protections | "
                                 "count) + (value_json.faults | count) }}"));
    alarms.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
    alarms.insert(QStringLiteral("json_attributes_topic"),
                  MqttTopics::state(options.topicPrefix, packKey));
    alarms.insert(
        QStringLiteral("json_attributes_template"),
        QStringLiteral("{{ {'alarms': value_json.alarms, 'protections': "
                       "value_json.protections, 'faults': value_json.faults} | tojson }}"));
    out.append(message(options, alarms));
    return out;
}
