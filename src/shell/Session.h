#pragma once

#include "link/LinkHooks.h"

class Core;

// The wiring between the link and everything above it, in one place: what
// happens after an answer, on a send tick, when sends are given up, when the
// port opens, closes, is lost and comes back. Read top to bottom, it is the
// program's reaction to the line.
class Session : public LinkHooks {
public:
    explicit Session(Core &core);
    ~Session() override;
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Tab switch: the page decides whether live reads run or pause; the bank
    // page (8) polls the packs on the line itself.
    void selectTab(int tab);
    // Program end: recording timer, the bank's polling, both link timers, the
    // port.
    void shutdown();

    void sendDue() override;
    void frameAccepted() override;
    void sendAbandoned(quint8 command) override;
    void portOpening() override;
    void portClosed() override;
    LineLoss lineLost() override;
    QString lineBack(const LineLoss &loss, quint8 commandAtLoss) override;
    QString statusLine() const override;
    void setStatusLine(const QString &text) override;

    // The pages that watch the pack live (link, information, records).
    static bool watchesLive(int tab) { return tab == 1 || tab == 2 || tab == 5; }

private:
    Core &m_core;
};
