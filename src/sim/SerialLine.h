#pragma once

#include "base/Result.h"
#include "sim/LineSettings.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>
#include <optional>

// The pack's end of a serial line, non-blocking on the event loop: either the
// master side of a pseudo-terminal whose slave the host opens like a COM
// port, or a real serial device (a USB adapter wired to the host).
//
// On a pseudo-terminal the host's open and close are followed (the master
// reports a hang-up while no one holds the slave), answers are not written
// while the host is away (a real wire would lose them too, and the pty would
// otherwise hand them to the host's next open), and the character format the
// host set on its side can be read back.
class SerialLine : public QObject {
    Q_OBJECT
public:
    ~SerialLine() override;

    // A new pseudo-terminal set to raw `settings`; `slavePath` receives the
    // device the host opens.
    static Result<std::unique_ptr<SerialLine>> createPty(const LineSettings &settings,
                                                         QString *slavePath);
    static Result<std::unique_ptr<SerialLine>> openDevice(const QString &device,
                                                          const LineSettings &settings);

    bool isPty() const { return m_pty; }
    // Whether a host has the line open (always true for a device).
    bool hostAttached() const { return m_attached; }
    int hostOpens() const { return m_opens; }
    // The format the host set on its side of a pseudo-terminal.
    std::optional<LineSettings> hostSettings() const;
    // Bytes handed to the line that a detached host never got.
    qint64 discardedBytes() const { return m_discarded; }

    // Queues bytes for the host; dropped while no host is attached.
    void write(const QByteArray &bytes);
    // True once everything written has left (the device's UART included).
    bool drained() const;
    // The pack's own format; on a device it is applied to the port.
    bool applySettings(const LineSettings &settings);

signals:
    void received(const QByteArray &bytes);
    void hostAttachedChanged(bool attached);
    // The device failed (unplugged adapter); the line is closed.
    void failed(const QString &reason);

private:
    SerialLine(int fd, bool pty);
    void readAvailable();
    void flushOutput();
    void pollAttach();
    void setAttached(bool attached);

    int m_fd = -1;
    bool m_pty = false;
    bool m_attached = true;
    int m_opens = 0;
    qint64 m_discarded = 0;
    QByteArray m_out;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QTimer m_attachPoll;
};
