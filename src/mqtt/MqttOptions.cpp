#include "mqtt/MqttOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <mosquitto.h>

Result<void> MqttOptions::validate() const
{
    if (host.trimmed().isEmpty())
        return Error{QCoreApplication::translate("MqttOptions", "No MQTT broker given.")};
    if (port < 1 || port > 65535)
        return Error{QCoreApplication::translate("MqttOptions",
                                                 "The MQTT port must be between 1 and 65535.")};
    const QByteArray prefix = topicPrefix.toUtf8();
    if (prefix.isEmpty() || prefix.startsWith('/') || prefix.endsWith('/') ||
        prefix.contains("//") || prefix.startsWith('$') ||
        mosquitto_pub_topic_check(prefix.constData()) != MOSQ_ERR_SUCCESS)
        return Error{QCoreApplication::translate(
                         "MqttOptions",
                         "The topic prefix \"%1\" is not usable: no '+', '#', leading '$' or empty "
                         "levels.")
                         .arg(topicPrefix)};
    if (haDiscovery &&
        (discoveryPrefix.isEmpty() ||
         mosquitto_pub_topic_check(discoveryPrefix.toUtf8().constData()) != MOSQ_ERR_SUCCESS))
        return Error{
            QCoreApplication::translate("MqttOptions", "The discovery prefix \"%1\" is not usable.")
                .arg(discoveryPrefix)};
    if (!tlsCaFile.isEmpty()) {
        QFile ca(tlsCaFile);
        if (!ca.open(QIODevice::ReadOnly))
            return Error{QCoreApplication::translate("MqttOptions",
                                                     "The certificate file %1 cannot be read: %2")
                             .arg(tlsCaFile, ca.errorString())};
    }
    if (intervalSeconds < 1)
        return Error{QCoreApplication::translate("MqttOptions",
                                                 "The interval must be at least one second.")};
    return {};
}

int MqttOptions::keepAliveSeconds() const
{
    // Long enough that a slow cycle never looks like a lost link, short enough
    // that the will fires within a minute or two of the bridge vanishing.
    return std::clamp(intervalSeconds * 3, 30, 300);
}

Result<void> parseBrokerAddress(const QString &text, MqttOptions *options)
{
    QString host = text.trimmed();
    QString portText;
    bool hasPort = false;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return Error{QCoreApplication::translate(
                             "MqttOptions", "The broker address \"%1\" lacks its closing ']'.")
                             .arg(text)};
        const QString rest = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return Error{QCoreApplication::translate(
                             "MqttOptions", "The broker address \"%1\" is not HOST[:PORT].")
                             .arg(text)};
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        // More than one colon without brackets is an IPv6 address alone.
        hasPort = true;
        portText = host.section(QLatin1Char(':'), 1);
        host = host.section(QLatin1Char(':'), 0, 0);
    }
    if (host.isEmpty())
        return Error{
            QCoreApplication::translate("MqttOptions", "The broker address \"%1\" has no host.")
                .arg(text)};
    int port = options->port;
    if (hasPort) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return Error{
                QCoreApplication::translate(
                    "MqttOptions", "The broker port \"%1\" is not a number from 1 to 65535.")
                    .arg(portText)};
    }
    options->host = host;
    options->port = port;
    return {};
}

Result<QString> readPasswordFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        return Error{
            QCoreApplication::translate("MqttOptions", "The password file %1 does not exist.")
                .arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return Error{
            QCoreApplication::translate("MqttOptions", "The password file %1 cannot be read: %2")
                .arg(path, file.errorString())};
    // One line; a password file made by an editor ends in a line break that
    // is not part of the password.
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return Error{
            QCoreApplication::translate("MqttOptions", "The password file %1 is empty.").arg(path)};
    return QString::fromUtf8(line);
}
