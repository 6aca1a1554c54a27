#include "bank/AnswerSearch.h"

#include "link/Frame.h"

namespace AnswerSearch {

Heard find(const QByteArray &rx, quint8 address, quint8 protocol, quint8 item, QByteArray *frame)
{
    constexpr quint8 readOperation = 0;
    Heard heard = Heard::Nothing;
    const qsizetype size = rx.size();
    for (qsizetype p = 0; p + Frame::dataOffset <= size; ++p) {
        const auto at = [&](qsizetype i) { return quint8(rx[p + i]); };
        if (at(0) != Frame::responseStart || at(1) != address || at(2) != protocol ||
            at(3) != readOperation || at(4) != item || at(5) > Frame::maxResponseLengthHigh)
            continue;
        const int n = at(5) << 8 | at(6);
        if (size - p < Frame::overhead + n)
            return heard == Heard::Garbled ? heard : Heard::Nothing; // still arriving
        const QByteArray candidate = rx.mid(p, Frame::overhead + n);
        if (Frame::crcValid(candidate)) {
            *frame = candidate;
            return Heard::Answer;
        }
        heard = Heard::Garbled;
    }
    return heard;
}

} // namespace AnswerSearch
