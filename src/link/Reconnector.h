#pragma once

#include "link/CommandCode.h"
#include "link/LinkHooks.h"

#include <QObject>
#include <QString>
#include <QTimer>

class LinkController;

// Automatic reconnection after the open device went away (adapter unplugged,
// virtual line ended), while the link page's "Reconnect automatically" box is
// ticked. No message box is shown then: an unattended logger must not wait for
// an OK. The status line says what happened, and a timer tick looks for the
// device to come back, under the same COM number or as the same USB adapter
// (by its serial number) under another one. Once it is back it is opened with
// what the page's lists show, the live reads or the pause go on as before, and
// a recording that the loss stopped starts again in a new file.
//
// Looking costs a file check and, for a USB adapter, one pass over the system's
// port list per tick; nothing waits. Pressing the open/close button, clearing
// the box or program end stops looking.
class Reconnector : public QObject {
    Q_OBJECT
public:
    static constexpr int intervalMs = 1000;

    // What ran on the line when it was lost.
    struct Lost {
        int number = 0;                      // COM number
        QString device;                      // what the number stood for
        bool linked = false;                 // mapped through the link folder
        QString serialNumber;                // of the USB adapter, "" when none
        quint8 command = CommandCode::pause; // currentCommand at the loss
        LinkHooks::LineLoss work;            // what the program had running
    };

    explicit Reconnector(LinkController &link);

    bool enabled() const; // the page's check box
    bool isWaiting() const { return m_waiting; }
    const Lost &lost() const { return m_lost; }

    // The line was lost and the link page has closed the port: say so and
    // start looking for the device.
    void watch(const Lost &lost);
    void cancel();
    // The timer's tick: opens the device again once it is back.
    void tick();
    QTimer &timer() { return m_timer; }

    static QString disconnectedText(int number, const QString &device, const QString &time);
    static QString waitingText();
    static QString recordingStoppedText(const QString &file);
    static QString reconnectedText(int number, const QString &device, const QString &time);
    static QString recordingRestartedText(const QString &file);

signals:
    void reconnected();

private:
    // The COM number under which the lost device is back, 0 while it is not.
    int returnedNumber() const;
    void onLinkFormChanged(const QString &control);

    LinkController &m_link;
    QTimer m_timer;
    Lost m_lost;
    bool m_waiting = false;
};
