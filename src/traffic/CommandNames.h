#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

// What a frame on the line is, in the words the pages use for it: the name of
// the request it is or answers, in the current language. A frame is known by
// its operation and item bytes; the control commands, which share one item,
// by their data as well, and the firmware transfer by its block number.
namespace CommandNames {
// `frame` is a whole frame, start byte to CRC; a request when its start byte
// is the request start byte, else a response. "" for an item no request
// uses.
QString ofFrame(QByteArrayView frame);
// Every item some request uses, in ascending order, and a name for it.
const QList<quint8> &knownItems();
QString ofItem(quint8 item);
} // namespace CommandNames
