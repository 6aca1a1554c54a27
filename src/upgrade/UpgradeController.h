#pragma once

#include "base/ChineseOnlyText.h"

#include <QByteArray>
#include <QString>

#include <functional>

class AppState;
class LinkController;
class RequestBuilder;

// Firmware transfer in numbered 128-byte blocks, stop-and-wait, inside the
// ordinary request/response machinery (code 255). Block 0 is the start frame,
// blocks 1..N carry the image, and the frame after the last one is the end
// frame (block field 0xFFFF). Each acknowledgement of block A makes the next
// frame block A + 1, whatever was sent; the send timer re-sends the current
// frame when no answer comes.
class UpgradeController {
public:
    UpgradeController(AppState &state, LinkController &link, RequestBuilder &requests);

    void start();          // the page's upgrade button
    void buildRequest();   // the request builder's branch for code 255
    void handleReply();    // every dispatched frame; acts on qualifying acks
    void abandon();        // the send timer gave up (more than 40 re-sends)
    void enableControls(); // upgrade button and both target options

    // The page's file button: a chosen file replaces the path, a cancelled
    // dialog keeps it.
    void chooseFile();
    // A target option was clicked: BOOT keeps the line's baud rate, so its
    // baud selector is disabled.
    void selectTarget(int index);
    // Progress label "p%" and bar at p percent, p clamped to 0..100.
    void showProgress(int percent);

    bool appSelected() const;
    // Item byte of every upgrade frame and of the acknowledgements that count.
    quint8 targetItem() const;
    // The upgrade baud rate / 10 carried by the start frame.
    quint16 baudWord() const;

    static constexpr quint8 appItem = 0xFA;
    static constexpr quint8 bootItem = 0xFB;
    static constexpr quint16 endBlock = 0xFFFF;
    static QString fileFilter() { return QStringLiteral("Batch Files (*.bin)"); }
    static QString bootWarningTitle() { return chineseOnly(ChineseOnlyText::upgradeNotice); }
    static QString bootWarningText() { return chineseOnly(ChineseOnlyText::bootUpgradeWarning); }
    static QString binOnlyText() { return chineseOnly(ChineseOnlyText::binFileOnly); }
    static QString succeededText();
    static QString failedText();

    // A step that must come before an upgrade (a backup of the pack's
    // settings) may hold a start back once its file has been read: the gate
    // returns true when it has taken the start and calls `proceed` to resume
    // it, false to let it go on at once.
    using StartGate = std::function<bool(const std::function<void()> &proceed)>;
    void setStartGate(StartGate gate) { m_startGate = std::move(gate); }
    // Runs after "Upgrade succeeded" has been shown.
    void setSucceededHook(std::function<void()> hook) { m_succeeded = std::move(hook); }

    QByteArray upgradeImage;
    qint32 upgradeImageLength = 0;
    qint32 upgradeBlock = 0;

private:
    // Closes the line and opens it again at the link page's saved settings.
    void restoreLine();

    AppState &m_state;
    LinkController &m_link;
    RequestBuilder &m_requests;
    StartGate m_startGate;
    std::function<void()> m_succeeded;
    bool m_gatePassed = false;
};
