#pragma once

#include <QString>
#include <QtGlobal>

// What the link asks of the program above it. The link owns the port, the
// receive assembly and the two timers and knows nothing of pages, requests or
// recordings: at these points it hands over to whoever assembled the program
// (the session), which decides what happens next. Every hook does nothing by
// default, so a link on its own (in a test) simply moves bytes.
class LinkHooks {
public:
    // What was running when the line was lost, for taking it up again.
    struct LineLoss {
        int tab = 0;            // the page shown at the loss
        bool recording = false; // a live recording ran and has been stopped
        QString recordingNote;  // says where its file is; "" when none ran
    };

    virtual ~LinkHooks() = default;

    // A send tick: build and send the request for currentCommand.
    virtual void sendDue() {}
    // rxFrame holds an accepted answer with rxDataLength data bytes.
    virtual void frameAccepted() {}
    // Repeats of `command` went unanswered and the link gave it up;
    // currentCommand is the pause now.
    virtual void sendAbandoned(quint8 command) { Q_UNUSED(command); }
    // The port has just opened; the timers start after this.
    virtual void portOpening() {}
    // The port has closed: by the button, after a loss or a failed reopen.
    virtual void portClosed() {}
    // The open port has gone: stop what lives on live values.
    virtual LineLoss lineLost() { return {}; }
    // The lost device is open again. Returns a note for the status line.
    virtual QString lineBack(const LineLoss &loss, quint8 commandAtLoss)
    {
        Q_UNUSED(loss);
        Q_UNUSED(commandAtLoss);
        return {};
    }

    // The status line under the pages.
    virtual QString statusLine() const { return {}; }
    virtual void setStatusLine(const QString &text) { Q_UNUSED(text); }
};
