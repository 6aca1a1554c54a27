#include "cli/WatchLoop.h"

#include "cli/CliSession.h"
#include "link/CommandCode.h"

WatchLoop::WatchLoop(CliSession &session, const QList<int> &addresses, QObject *parent)
    : QObject(parent), m_session(session), m_addresses(addresses)
{
    if (m_addresses.isEmpty())
        m_addresses = {255};
    connect(&session, &CliSession::cycleCompleted, this, &WatchLoop::onCycle);
}

void WatchLoop::start()
{
    m_running = true;
    m_index = 0;
    askCurrent();
}

void WatchLoop::stop()
{
    m_running = false;
    m_session.stopWatchdog();
}

void WatchLoop::askCurrent()
{
    Core &core = m_session.core();
    AppState &s = core.state;
    const quint8 address = quint8(m_addresses.at(m_index));
    if (m_addresses.size() > 1) {
        // Nothing of the previous pack may be taken for this one's, should
        // one of its answers fail to decode.
        for (const QString &control : s.info.controls())
            if (s.info.kind(control) == Form::Kind::Text)
                s.info.setText(control, QString());
    }
    s.deviceAddress = address;
    // A pack that fell silent mid-cycle leaves the cycle where it was; the
    // next one starts from its first read.
    s.currentCommand = CommandCode::firstLiveRead;
    core.link.clearReceiveBuffer();
    m_session.armWatchdog([this] { onSilence(); });
}

void WatchLoop::onCycle()
{
    if (!m_running)
        return;
    if (m_onPack)
        m_onPack(m_addresses.at(m_index), m_session.core().state.info);
    if (m_running)
        next();
}

void WatchLoop::onSilence()
{
    if (!m_running)
        return;
    if (m_onSilent)
        m_onSilent(m_addresses.at(m_index));
    if (m_running)
        next();
}

void WatchLoop::next()
{
    const bool roundDone = m_index + 1 >= m_addresses.size();
    if (roundDone && m_onRound && !m_onRound()) {
        stop();
        return;
    }
    if (!m_running)
        return;
    m_index = roundDone ? 0 : m_index + 1;
    if (m_addresses.size() > 1)
        askCurrent();
    else
        m_session.armWatchdog([this] { onSilence(); });
}
