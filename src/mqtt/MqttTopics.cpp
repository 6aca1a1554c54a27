#include "mqtt/MqttTopics.h"

QString MqttTopics::level(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text.trimmed()) {
        const bool plain = c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-' || c == u'_');
        // Runs of other characters become one '_', so that "A / B" and "A_B"
        // stay readable rather than "A___B".
        if (plain)
            out += c;
        else if (!out.endsWith(u'_'))
            out += u'_';
    }
    while (out.startsWith(u'_'))
        out.remove(0, 1);
    while (out.endsWith(u'_'))
        out.chop(1);
    return out;
}

QString MqttTopics::state(const QString &prefix, const QString &packKey)
{
    return prefix + u'/' + packKey + QStringLiteral("/state");
}

QString MqttTopics::availability(const QString &prefix, const QString &packKey)
{
    return prefix + u'/' + packKey + QStringLiteral("/availability");
}

QString MqttTopics::bridgeAvailability(const QString &prefix)
{
    return prefix + QStringLiteral("/bridge/availability");
}

QString MqttTopics::discoveryConfig(const QString &discoveryPrefix, const QString &objectId)
{
    return discoveryPrefix + QStringLiteral("/sensor/") + objectId + QStringLiteral("/config");
}
