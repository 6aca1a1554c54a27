#include "sim/FaultInjector.h"

#include "link/Frame.h"

FaultInjector::FaultInjector(const Options &options)
    : m_options(options), m_rng(options.seed ^ 0x6C1E5EEDu)
{
}

bool FaultInjector::chance(double probability)
{
    if (probability <= 0)
        return false;
    if (probability >= 1)
        return true;
    return m_rng.generateDouble() < probability;
}

bool FaultInjector::dropRequest()
{
    return chance(m_options.dropProbability);
}

FaultInjector::Delivery FaultInjector::deliver(const QByteArray &frame)
{
    Delivery d;
    QByteArray bytes = frame;
    if (chance(m_options.corruptProbability) && !bytes.isEmpty()) {
        bytes[bytes.size() - 1] = char(quint8(bytes.back()) ^ quint8(1 + m_rng.bounded(255)));
        d.corrupted = true;
    }
    if (chance(m_options.noiseProbability)) {
        // Junk never contains the answer start byte, so it cannot pose as the
        // beginning of a frame.
        d.noiseBytes = 1 + int(m_rng.bounded(maxNoiseBytes));
        QByteArray junk;
        while (junk.size() < d.noiseBytes) {
            const quint8 b = quint8(m_rng.bounded(256));
            if (b != Frame::responseStart)
                junk.append(char(b));
        }
        bytes.prepend(junk);
    }
    if (!m_options.split) {
        d.chunks.append({bytes, m_options.delayMs});
        return d;
    }
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int size = 1 + int(m_rng.bounded(maxChunkBytes));
        const int gap = at == 0 ? m_options.delayMs : 1 + int(m_rng.bounded(maxGapMs));
        d.chunks.append({bytes.mid(at, size), gap});
        at += size;
    }
    return d;
}
