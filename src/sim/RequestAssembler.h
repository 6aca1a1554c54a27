#pragma once

#include <QByteArray>
#include <QList>

// Cuts the bytes a pack receives into complete request frames (start byte
// 0x5C, correct CRC), for any address. Bytes that cannot start a valid frame
// are skipped one at a time, so a frame behind noise or behind a corrupted
// frame is still found. A partial frame left over from a pause in the stream
// is dropped, as a UART receiver does after its inter-byte time-out, so a
// false header cannot hold up the frames that follow it for long.
class RequestAssembler {
public:
    // The longest request of the protocol carries 130 bytes; a header that
    // claims more than this is taken as noise at once.
    static constexpr int maxDataLength = 255;
    static constexpr qint64 staleMs = 300;

    QList<QByteArray> push(const QByteArray &bytes, qint64 nowMs);
    int pending() const { return int(m_buffer.size()); }
    int skipped() const { return m_skipped; }

private:
    QByteArray m_buffer;
    qint64 m_lastMs = 0;
    int m_skipped = 0;
};
