#pragma once

#include <QList>
#include <QObject>

#include <functional>

class CliSession;
class Form;

// The live reads of one or more packs on a line, pack after pack: each
// address gets a whole polling cycle, then the next one is asked, round
// after round. After every cycle the pack's values are handed on (the
// information page's contents); a pack that stays silent for the session's
// timeout is reported and the round goes on without it.
//
// The session's port must be open on a page with live reads.
class WatchLoop : public QObject {
    Q_OBJECT
public:
    using PackHandler = std::function<void(int address, const Form &info)>;
    using SilentHandler = std::function<void(int address)>;
    // After the last address of a round; return false to stop.
    using RoundHandler = std::function<bool()>;

    WatchLoop(CliSession &session, const QList<int> &addresses, QObject *parent = nullptr);

    void setPackHandler(PackHandler handler) { m_onPack = std::move(handler); }
    void setSilentHandler(SilentHandler handler) { m_onSilent = std::move(handler); }
    void setRoundHandler(RoundHandler handler) { m_onRound = std::move(handler); }

    void start();
    void stop();
    bool running() const { return m_running; }
    int currentAddress() const { return m_addresses.value(m_index, -1); }

private:
    void onCycle();
    void onSilence();
    void next();
    void askCurrent();

    CliSession &m_session;
    QList<int> m_addresses;
    int m_index = 0;
    bool m_running = false;
    PackHandler m_onPack;
    SilentHandler m_onSilent;
    RoundHandler m_onRound;
};
