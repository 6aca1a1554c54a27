#pragma once

#include <QByteArray>

class Core;

// Firmware transfer in numbered 128-byte blocks, stop-and-wait, inside the
// ordinary request/response machinery (code 255).
class UpgradeController {
public:
    explicit UpgradeController(Core &core);

    void start();           // the page's upgrade button
    void buildRequest();    // the request builder's branch for code 255
    void handleReply();     // every dispatched frame; acts on qualifying acks
    void abandon();         // the send timer gave up (more than 40 re-sends)
    void enableControls();  // upgrade button and both target options

    QByteArray upgradeImage;
    qint32 upgradeImageLength = 0;
    qint32 upgradeBlock = 0;

private:
    Core &m_core;
};
