#pragma once

#include <QByteArray>
#include <QtGlobal>

// Finding the answer to one read in what a shared line has delivered. Other
// packs' answers, echoes of the request and noise may lie around it; a frame
// of the right address and item whose CRC fails is a garbled answer (two
// packs driving the line at once, or noise).
namespace AnswerSearch {
enum class Heard { Nothing, Answer, Garbled };

// The first complete answer of `address` to a read of `item` in `rx`, whole
// from its start byte, into `frame`. Garbled when only frames with a failed
// CRC are complete; Nothing while an answer is still arriving.
Heard find(const QByteArray &rx, quint8 address, quint8 protocol, quint8 item, QByteArray *frame);
} // namespace AnswerSearch
