#pragma once

class AppState;
class LinkController;

// The bus scan and the bank page talk to several addresses on the line
// themselves, so while they run the link keeps off the port: polling paused
// as on a page without live reads, the send timer stopped, what was half
// received dropped. The page's values stop being live then, so no recorded
// line may be made of them. Giving the line back restarts the send timer
// where it ran before.
class LineLoan {
public:
    LineLoan(AppState &state, LinkController &link) : m_state(state), m_link(link) {}

    bool held() const { return m_held; }
    bool sendTimerWasActive() const { return m_sendTimerWasActive; }

    void take();
    // `restart`: start the send timer even if it was not running before (the
    // caller has set a command that needs it).
    void giveBack(bool restart = false);

private:
    AppState &m_state;
    LinkController &m_link;
    bool m_held = false;
    bool m_sendTimerWasActive = false;
};
