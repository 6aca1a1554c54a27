#include "sim/FirmwareSession.h"

#include "sim/PackItems.h"
#include "sim/WireBytes.h"

namespace {
QString targetName(quint8 item)
{
    return item == PackItem::upgradeApp ? QStringLiteral("APP") : QStringLiteral("BOOT");
}
} // namespace

QString FirmwareSession::target() const
{
    return m_active ? targetName(m_item) : QString();
}

FirmwareSession::Outcome FirmwareSession::handle(quint8 item, const QByteArray &data, qint64 nowMs)
{
    Outcome out;
    const quint16 block = WireBytes::wordAt(data, 0);

    if (data.size() == 5 && block == 0) {
        m_active = true;
        m_item = item;
        m_baud = WireBytes::wordAt(data, 2) * 10;
        m_blocks.clear();
        m_lastMs = nowMs;
        out.answer = true;
        out.block = 0;
        if (item == PackItem::upgradeApp && m_baud > 0) {
            out.switchBaud = m_baud;
            m_lineSwitched = true;
        }
        out.note = QStringLiteral("upgrade %1 started, upgrade rate %2 baud")
                       .arg(targetName(item))
                       .arg(m_baud);
        return out;
    }
    if (data.size() != 2 + blockSize || block == 0) {
        out.note = QStringLiteral("upgrade frame with %1 data bytes and block %2 ignored")
                       .arg(data.size())
                       .arg(block);
        return out;
    }
    if (!m_active || item != m_item) {
        out.note = QStringLiteral("%1 block %2 outside an upgrade ignored")
                       .arg(targetName(item))
                       .arg(block);
        return out;
    }
    m_lastMs = nowMs;

    if (block != endBlock) {
        m_blocks[block] = data.mid(2);
        out.answer = true;
        out.block = block;
        return out;
    }

    const int last = m_blocks.isEmpty() ? 0 : m_blocks.lastKey();
    if (last == 0 || m_blocks.size() != last) {
        out.note = QStringLiteral("upgrade %1 end refused: %2 of %3 blocks received")
                       .arg(targetName(item))
                       .arg(m_blocks.size())
                       .arg(last);
        return out;
    }
    FirmwareImage image;
    image.target = targetName(item);
    image.blocks = last;
    image.bytes.reserve(qsizetype(last) * blockSize);
    for (const QByteArray &b : std::as_const(m_blocks))
        image.bytes.append(b);
    out.answer = true;
    out.block = endBlock;
    out.restoreLine = m_lineSwitched;
    out.image = image;
    out.note = QStringLiteral("upgrade %1 complete: %2 blocks, %3 bytes")
                   .arg(image.target)
                   .arg(last)
                   .arg(image.bytes.size());
    m_active = false;
    m_lineSwitched = false;
    m_blocks.clear();
    return out;
}

bool FirmwareSession::expire(qint64 nowMs)
{
    if (!m_active || nowMs - m_lastMs < timeoutMs)
        return false;
    const bool restore = m_lineSwitched;
    m_active = false;
    m_lineSwitched = false;
    m_blocks.clear();
    return restore;
}
