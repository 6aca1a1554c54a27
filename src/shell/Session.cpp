#include "shell/Session.h"

#include "link/CommandCode.h"
#include "records/RecordForm.h"
#include "shell/Core.h"

// The answers that the catalogue leaves to the stored-records page and to the
// upgrade, and the upgrade's frames, are theirs; the request builder and the
// dispatcher know them only as handlers.
Session::Session(Core &core) : m_core(core)
{
    m_core.link.setHooks(this);
    m_core.requests.setRequestHandler(CommandCode::upgrade,
                                      [this] { m_core.upgrade.buildRequest(); });
    // The upgrade takes only the acknowledgements of the target it sends to.
    m_core.responses.setAnswerHandler(Decoder::upgrade, [this] { m_core.upgrade.handleReply(); });
    m_core.responses.setAnswerHandler(Decoder::storedCount,
                                      [this] { m_core.stored.handleCount(); });
    m_core.responses.setAnswerHandler(Decoder::storedRecord,
                                      [this] { m_core.stored.handleRecord(); });
}

Session::~Session()
{
    m_core.link.setHooks(nullptr);
    m_core.requests.setRequestHandler(CommandCode::upgrade, {});
    for (Decoder d : {Decoder::upgrade, Decoder::storedCount, Decoder::storedRecord})
        m_core.responses.setAnswerHandler(d, {});
}

void Session::selectTab(int tab)
{
    if (tab < 1 || tab > 8)
        return;
    AppState &s = m_core.state;
    // The scan belongs to the link page and needs the line to itself.
    if (tab != 1)
        m_core.scan.cancel();
    if (tab != 8)
        m_core.bank.leave();
    s.selectedTab = tab;
    // The live pages watch the pack; the others pause the traffic so that their
    // own buttons have the line to themselves.
    s.currentCommand = watchesLive(tab) ? CommandCode::firstLiveRead : CommandCode::pause;
    if (tab == 1 || tab == 2)
        s.readAllActive = false;
    // An exchange that ended (a read, a write, an upgrade) leaves the send timer
    // stopped; without this the live page would stay frozen after it.
    LinkController &link = m_core.link;
    if (s.currentCommand == CommandCode::firstLiveRead && link.portOpen() &&
        !link.sendTimer().isActive())
        link.sendTimer().start();
    if (tab == 8)
        m_core.bank.enter();
}

void Session::shutdown()
{
    m_core.recorder.timer().stop();
    m_core.bank.leave();
    m_core.link.shutdown();
}

// A send tick builds the request for whatever currentCommand names now.
void Session::sendDue()
{
    m_core.requests.buildRequest();
}

// An accepted answer goes to its decoder; the dispatcher decides what is
// asked next (the next live read, the next row, the next upgrade frame, or
// the pause with a result message).
void Session::frameAccepted()
{
    m_core.responses.dispatchResponse();
}

// "Send failed" has been shown and the pause set; the upgrade page's buttons
// come back. An upgrade that went unanswered is abandoned as a whole.
void Session::sendAbandoned(quint8 command)
{
    if (command == CommandCode::upgrade)
        m_core.upgrade.abandon();
    else
        m_core.upgrade.enableControls();
}

// The information page starts reading at once; the upgrade page keeps the
// line quiet until its own start.
void Session::portOpening()
{
    AppState &s = m_core.state;
    if (s.selectedTab == 2)
        s.currentCommand = CommandCode::firstLiveRead;
    else if (s.selectedTab == 7)
        s.currentCommand = CommandCode::pause;
}

// Nothing can be sent any more: the upgrade may be started again, and the
// recording stops.
void Session::portClosed()
{
    m_core.upgrade.enableControls();
    m_core.state.record.setCheck(RecordField::recording, 0);
    m_core.recorder.stop();
}

// Nothing received before the loss is live any more: the recording stops now,
// not when the message has been read (it would write the last values once a
// second meanwhile).
LinkHooks::LineLoss Session::lineLost()
{
    LineLoss loss;
    loss.tab = m_core.state.selectedTab;
    loss.recording = m_core.recorder.isRecording();
    if (loss.recording) {
        m_core.recorder.stop();
        loss.recordingNote = Reconnector::recordingStoppedText(m_core.state.recordFilePath);
    }
    return loss;
}

// The live reads start again from the first one; a one-off exchange that the
// loss cut short is not sent again (it may have been a write). A tab chosen
// meanwhile decides for itself. A recording that the loss stopped goes on in
// a new file.
QString Session::lineBack(const LineLoss &loss, quint8 commandAtLoss)
{
    AppState &s = m_core.state;
    if (s.selectedTab == loss.tab)
        s.currentCommand =
            commandAtLoss < CommandCode::pause ? CommandCode::firstLiveRead : CommandCode::pause;
    else
        s.currentCommand =
            watchesLive(s.selectedTab) ? CommandCode::firstLiveRead : CommandCode::pause;
    if (!loss.recording)
        return {};
    s.record.setCheck(RecordField::recording, 1);
    if (!m_core.recorder.isRecording())
        return {};
    return Reconnector::recordingRestartedText(s.recordFilePath);
}

QString Session::statusLine() const
{
    return m_core.state.statusLine();
}

void Session::setStatusLine(const QString &text)
{
    m_core.state.setStatusLine(text);
}
