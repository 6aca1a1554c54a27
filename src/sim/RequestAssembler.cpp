#include "sim/RequestAssembler.h"

#include "link/Frame.h"

QList<QByteArray> RequestAssembler::push(const QByteArray &bytes, qint64 nowMs)
{
    if (!m_buffer.isEmpty() && nowMs - m_lastMs > staleMs) {
        m_skipped += int(m_buffer.size());
        m_buffer.clear();
    }
    m_lastMs = nowMs;
    m_buffer.append(bytes);

    QList<QByteArray> frames;
    qsizetype p = 0;
    const qsizetype size = m_buffer.size();
    while (p < size) {
        if (quint8(m_buffer[p]) != Frame::requestStart) {
            ++p;
            ++m_skipped;
            continue;
        }
        if (size - p < 7)
            break;
        const int n = quint8(m_buffer[p + 5]) << 8 | quint8(m_buffer[p + 6]);
        if (n > maxDataLength) {
            ++p;
            ++m_skipped;
            continue;
        }
        if (size - p < Frame::overhead + n)
            break;
        const QByteArray candidate = m_buffer.mid(p, Frame::overhead + n);
        if (Frame::crcValid(candidate)) {
            frames.append(candidate);
            p += candidate.size();
        } else {
            ++p;
            ++m_skipped;
        }
    }
    m_buffer.remove(0, p);
    return frames;
}
