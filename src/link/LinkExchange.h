#pragma once

#include "link/CommandCode.h"

#include <QByteArray>
#include <QtGlobal>

// The variables one exchange passes through on its way over the line. The
// link reads and writes them; the program's state holds them for everyone
// above it (the request builder fills txFrame, the dispatcher reads rxFrame).
struct LinkExchange {
    // The code of the request in progress (named in link/CommandCode.h): 0-9
    // live reads, 16 pause, 17-65 parameter rows, 80-87 controls, 96-137
    // settings, 160/161 stored records, 255 upgrade.
    quint8 currentCommand = CommandCode::firstLiveRead;
    QByteArray txFrame;   // exactly 9 + N bytes
    QByteArray rxFrame;   // the last accepted response, 9 + N bytes
    int rxDataLength = 0; // N of the response being dispatched
    quint8 deviceAddress = 255;
    quint8 protocolCode = 16;
    qint32 linkCountdown = 0; // 20 after every response, -1 per send tick
};
