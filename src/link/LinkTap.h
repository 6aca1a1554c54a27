#pragma once

#include "link/ReceiveAssembler.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMetaMethod>
#include <QObject>
#include <QString>

// What passes over the line, for whoever wants to watch it (the traffic
// console): every frame written, every frame the receive assembly accepted or
// rejected by its CRC, and every byte it threw away. Times are milliseconds
// since the port was last opened.
//
// Nothing is copied and nothing is signalled while no one is connected, so an
// unwatched link costs one check per event. The signals are emitted from
// inside the send and receive steps; receivers must be quick and must not
// write to the port.
class LinkTap : public QObject, public ReceiveAssembler::Observer {
    Q_OBJECT
public:
    using QObject::QObject;

    // Restarted whenever the port opens; -1 before the first open.
    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : -1; }

    // Called by the link.
    // `port` as the page names it, with its device.
    void noteOpened(const QString &port, const QString &settings);
    void noteSent(const QByteArray &frame);
    void noteAccepted(QByteArrayView frame);
    void rejected(QByteArrayView candidate) override;
    void discarded(QByteArrayView bytes) override;

signals:
    void portOpened(qint64 ms, const QString &port, const QString &settings);
    void frameSent(qint64 ms, const QByteArray &frame);
    // A complete response for this address and protocol with a correct CRC,
    // before it is dispatched.
    void frameAccepted(qint64 ms, const QByteArray &frame);
    // What looked like a response header, with the bytes its length field
    // claims, whose CRC did not match. Reported once even though the scan may
    // look at it again on later reads.
    void frameRejected(qint64 ms, const QByteArray &candidate);
    // Bytes dropped without being part of an accepted frame: noise before a
    // frame, a buffer purged for growing too long, what was left when the
    // buffer was emptied.
    void bytesDiscarded(qint64 ms, const QByteArray &bytes);

private:
    template <typename Signal> bool watched(Signal signal) const
    {
        return isSignalConnected(QMetaMethod::fromSignal(signal));
    }

    QElapsedTimer m_clock;
};
