#pragma once

class Core;

// The bus scan and the bank page talk to several addresses on the line
// themselves, so while they run the link keeps off the port: polling paused
// as on a page without live reads, the send timer stopped, what was half
// received dropped. The page's values stop being live then, so no recorded
// line may be made of them. Giving the line back restarts the send timer
// where it ran before.
class LineLoan {
public:
    explicit LineLoan(Core &core) : m_core(core) {}

    bool held() const { return m_held; }
    bool sendTimerWasActive() const { return m_sendTimerWasActive; }

    void take();
    // `restart`: start the send timer even if it was not running before (the
    // caller has set a command that needs it).
    void giveBack(bool restart = false);

private:
    Core &m_core;
    bool m_held = false;
    bool m_sendTimerWasActive = false;
};
