#include "link/ReceiveAssembler.h"

#include "link/Crc.h"
#include "link/Frame.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cstring>

bool ReceiveAssembler::step(QByteArrayView bytes, quint8 address, quint8 protocol,
                            const FrameHandler &handover)
{
    if (m_busy)
        return false;
    if (bytes.isEmpty())
        return true;
    const QScopedValueRollback<bool> running(m_busy, true);

    m_settled = 0;
    if (m_count > purgeLimit) {
        reportDiscarded(0, m_count);
        m_base += m_count;
        m_count = 0;
    }
    // A read longer than the buffer can take is an index beyond the buffer:
    // the step ends with the buffer dropped rather than writing past its end.
    if (m_count + bytes.size() > capacity) {
        dropAll();
        if (m_observer)
            m_observer->discarded(bytes);
        m_base += bytes.size();
        return true;
    }
    std::memcpy(m_buffer.data() + m_count, bytes.data(), size_t(bytes.size()));
    m_count += int(bytes.size());
    m_dirtyEnd = std::max(m_dirtyEnd, m_count);

    int consumed = 0;
    if (scan(address, protocol, handover, consumed) == Scan::Done)
        shiftOut(consumed);
    return true;
}

ReceiveAssembler::Scan ReceiveAssembler::scan(quint8 address, quint8 protocol,
                                              const FrameHandler &handover, int &consumed)
{
    const quint32 generation = m_generation;
    for (int p = 0; p <= m_count - 1; ++p) {
        const quint8 *b = m_buffer.data();
        // The header reads up to p + 6, which may lie beyond the bytes received
        // (those are zero) but never beyond the buffer.
        if (p + 6 >= capacity) {
            dropAll();
            return Scan::Abandoned;
        }
        const bool header = b[p] == Frame::responseStart && b[p + 1] == address &&
                            b[p + 2] == protocol && b[p + 5] <= Frame::maxResponseLengthHigh;
        if (header) {
            const int n = b[p + 5] * 256 + b[p + 6];
            const int available = m_count - p;
            if (available < Frame::overhead || available < n + Frame::overhead)
                return Scan::Done; // incomplete: wait for more bytes
            const CrcResult crc = computeCrc(b, p + 1, p + 6 + n);
            if (crc.high() == b[p + 7 + n] && crc.low() == b[p + 8 + n]) {
                const int e = p + 8 + n;
                consumed = e + 1;
                reportDiscarded(m_settled, p);
                m_settled = e + 1;
                handover(QByteArrayView(reinterpret_cast<const char *>(b + p), n + Frame::overhead),
                         n);
                // Closing the port from inside the hand-over empties the buffer;
                // there is nothing left to scan or shift.
                if (m_generation != generation)
                    return Scan::Abandoned;
                p = e;
            } else if (m_observer && m_base + p >= m_rejectedUpTo) {
                m_rejectedUpTo = m_base + p + 1;
                m_observer->rejected(
                    QByteArrayView(reinterpret_cast<const char *>(b + p), n + Frame::overhead));
            }
        }
        if (m_count > purgeLimit) {
            dropAll();
            return Scan::Abandoned;
        }
    }
    return Scan::Done;
}

void ReceiveAssembler::shiftOut(int consumed)
{
    const int remaining = m_count - consumed;
    if (consumed > 0)
        std::memmove(m_buffer.data(), m_buffer.data() + consumed, size_t(remaining));
    m_base += consumed;
    m_settled = 0;
    if (m_dirtyEnd > remaining)
        std::memset(m_buffer.data() + remaining, 0, size_t(m_dirtyEnd - remaining));
    m_dirtyEnd = remaining;
    m_count = remaining;
}

void ReceiveAssembler::dropAll()
{
    reportDiscarded(m_settled, m_count);
    m_base += m_count;
    m_settled = 0;
    std::memset(m_buffer.data(), 0, size_t(m_dirtyEnd));
    m_dirtyEnd = 0;
    m_count = 0;
}

void ReceiveAssembler::clear()
{
    dropAll();
    ++m_generation;
}

void ReceiveAssembler::reportDiscarded(int from, int to)
{
    if (m_observer && to > from)
        m_observer->discarded(
            QByteArrayView(reinterpret_cast<const char *>(m_buffer.data() + from), to - from));
}
