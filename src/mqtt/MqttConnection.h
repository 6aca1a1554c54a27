#pragma once

#include "mqtt/HaDiscovery.h"
#include "mqtt/MqttOptions.h"

#include <QObject>
#include <QSet>
#include <QTimer>

class QSocketNotifier;
struct mosquitto;

// One broker connection run by the event loop: libmosquitto never blocks and
// never gets a thread; socket notifiers feed it reads and writes, a timer its
// keep-alive. A lost or refused connection is tried again after a wait that
// doubles up to a limit, for as long as the program runs.
//
// Nothing piles up while the broker is away. A retained message is kept per
// topic and published again after every connection (a broker without
// persistence forgets them when it restarts); of the others only the latest per
// topic waits for the connection.
class MqttConnection : public QObject {
    Q_OBJECT
public:
    explicit MqttConnection(const MqttOptions &options, QObject *parent = nullptr);
    // Without stop() first the socket just closes, and the broker publishes the
    // will as if the program had died.
    ~MqttConnection() override;

    // Must come before start().
    void setWill(const QString &topic, const QByteArray &payload);
    // Starts connecting. Fails with the reason when the library refuses the
    // options; a broker that is not there is no failure, only tried again.
    Result<void> start();
    void publish(const QString &topic, const QByteArray &payload, bool retain);
    // Publishes the farewell messages (retained), disconnects so that the will
    // is not sent, then emits stopped(). Without a connection, stops at once.
    void stop(const QList<MqttMessage> &farewell);

    bool isConnected() const { return m_connected; }
    // Messages waiting for a connection, retained ones not counted.
    int pendingCount() const { return int(m_pending.size()); }

    // More distinct topics than this are not kept: the oldest goes first.
    static constexpr int kMaxKeptTopics = 1024;

signals:
    void connectedChanged(bool connected);
    void retryScheduled(int delayMs, const QString &reason);
    void stopped();

private:
    static void onConnect(mosquitto *mosq, void *self, int rc);
    static void onDisconnect(mosquitto *mosq, void *self, int rc);
    static void onPublish(mosquitto *mosq, void *self, int mid);

    void connectNow();
    void send(const MqttMessage &message, bool retain);
    // Acts on what the callbacks noted during a library call.
    void settle(int rc);
    void lose(const QString &reason);
    void finishStop();
    void syncNotifiers();
    void dropNotifiers();
    static void keep(QList<MqttMessage> &list, const QString &topic, const QByteArray &payload);

    MqttOptions m_options;
    mosquitto *m_mosq = nullptr;
    QString m_willTopic;
    QByteArray m_willPayload;
    QSocketNotifier *m_read = nullptr;
    QSocketNotifier *m_write = nullptr;
    int m_fd = -1;
    QTimer m_misc;
    QTimer m_retry;
    QTimer m_connectTimeout;
    QTimer m_stopTimeout;
    int m_delayMs = 0;
    // Between a connection attempt and its loss: the socket is ours to read.
    bool m_linkInUse = false;
    bool m_connected = false;
    bool m_stopping = false;
    bool m_disconnectSent = false;
    bool m_stopped = false;
    // Noted by the callbacks, acted on by settle().
    bool m_gotConnack = false;
    int m_connackRc = 0;
    bool m_gotDisconnect = false;
    int m_disconnectRc = 0;
    QSet<int> m_farewellMids;
    QList<MqttMessage> m_retained;
    QList<MqttMessage> m_pending;
};
