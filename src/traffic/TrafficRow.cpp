#include "traffic/TrafficRow.h"

#include "link/Frame.h"

int TrafficRow::length() const
{
    if (kind == Kind::Discarded)
        return int(bytes.size());
    return isFrame() && bytes.size() >= 7 ? Frame::dataLength(bytes) : -1;
}

bool TrafficRow::crcOk() const
{
    // A rejected frame is one whose CRC the scan found wrong; a request cut
    // short by the port fails the check on its own.
    return kind != Kind::Rejected && isFrame() && Frame::crcValid(bytes);
}

QString TrafficRow::hex(int limit) const
{
    const qsizetype shown = limit < 0 ? bytes.size() : qMin<qsizetype>(bytes.size(), limit);
    QString text = QString::fromLatin1(bytes.first(shown).toHex(' ').toUpper());
    if (shown < bytes.size())
        text += QStringLiteral(" …");
    return text;
}
