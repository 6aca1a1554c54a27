#include "mqtt/MqttOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <mosquitto.h>

QString MqttOptions::validate() const
{
    if (host.trimmed().isEmpty())
        return QCoreApplication::translate("MqttOptions", "No MQTT broker given.");
    if (port < 1 || port > 65535)
        return QCoreApplication::translate("MqttOptions",
                                           "The MQTT port must be between 1 and 65535.");
    const QByteArray prefix = topicPrefix.toUtf8();
    if (prefix.isEmpty() || prefix.startsWith('/') || prefix.endsWith('/') ||
        prefix.contains("//") || prefix.startsWith('$') ||
        mosquitto_pub_topic_check(prefix.constData()) != MOSQ_ERR_SUCCESS)
        return QCoreApplication::translate(
                   "MqttOptions",
                   "The topic prefix \"%1\" is not usable: no '+', '#', leading '$' or empty "
                   "levels.")
            .arg(topicPrefix);
    if (haDiscovery &&
        (discoveryPrefix.isEmpty() ||
         mosquitto_pub_topic_check(discoveryPrefix.toUtf8().constData()) != MOSQ_ERR_SUCCESS))
        return QCoreApplication::translate("MqttOptions",
                                           "The discovery prefix \"%1\" is not usable.")
            .arg(discoveryPrefix);
    if (!tlsCaFile.isEmpty()) {
        QFile ca(tlsCaFile);
        if (!ca.open(QIODevice::ReadOnly))
            return QCoreApplication::translate("MqttOptions",
                                               "The certificate file %1 cannot be read: %2")
                .arg(tlsCaFile, ca.errorString());
    }
    if (intervalSeconds < 1)
        return QCoreApplication::translate("MqttOptions",
                                           "The interval must be at least one second.");
    return {};
}

int MqttOptions::keepAliveSeconds() const
{
    // Long enough that a slow cycle never looks like a lost link, short enough
    // that the will fires within a minute or two of the bridge vanishing.
    return std::clamp(intervalSeconds * 3, 30, 300);
}

QString parseBrokerAddress(const QString &text, MqttOptions *options)
{
    QString host = text.trimmed();
    QString portText;
    bool hasPort = false;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return QCoreApplication::translate("MqttOptions",
                                               "The broker address \"%1\" lacks its closing ']'.")
                .arg(text);
        const QString rest = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return QCoreApplication::translate("MqttOptions",
                                               "The broker address \"%1\" is not HOST[:PORT].")
                .arg(text);
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        // More than one colon without brackets is an IPv6 address alone.
        hasPort = true;
        portText = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    if (host.isEmpty())
        return QCoreApplication::translate("MqttOptions", "The broker address \"%1\" has no host.")
            .arg(text);
    int port = options->port;
    if (hasPort) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return QCoreApplication::translate(
                       "MqttOptions", "The broker port \"%1\" is not a number from 1 to 65535.")
                .arg(portText);
    }
    options->host = host;
    options->port = port;
    return {};
}

std::optional<QString> readPasswordFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        *error = QCoreApplication::translate("MqttOptions", "The password file %1 does not exist.")
                     .arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QCoreApplication::translate("MqttOptions", "The password file %1 cannot be read: %2")
                .arg(path, file.errorString());
        return std::nullopt;
    }
    // One line; a password file made by an editor ends in a line break that
    // is not part of the password.
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty()) {
        *error =
            QCoreApplication::translate("MqttOptions", "The password file %1 is empty.").arg(path);
        return std::nullopt;
    }
    return QString::fromUtf8(line);
}
