#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>

class CliSession;
class MqttPublisher;
class WatchLoop;

// `cellvane-cli publish`: the watch loop's packs handed to the MQTT bridge,
// one state message per pack and interval. Meant to run unattended for
// months, so nothing transient ends it: a broker that goes away is retried by
// the bridge, a serial line that goes away by the link's reconnection, and a
// pack that stops answering is published as unavailable until it is back.
// Only what a restart would not mend ends the run: bad options, an unreadable
// password file, a port that cannot be opened at the start.
//
// Kept out of the core library: only this program links libmosquitto.
class PublishCommand : public QObject {
    Q_OBJECT
public:
    explicit PublishCommand(CliSession &session, QObject *parent = nullptr);
    ~PublishCommand() override;

    void start();
    // SIGINT/SIGTERM: every pack and the bridge marked offline, then the end.
    void interrupt();

private:
    bool nextRound();

    CliSession &m_session;
    std::unique_ptr<MqttPublisher> m_publisher;
    std::unique_ptr<WatchLoop> m_loop;
    QTimer m_pause; // the rest of the interval after a round
    QElapsedTimer m_round;
    QSet<int> m_silent; // addresses said to be silent
    bool m_stopping = false;
};
