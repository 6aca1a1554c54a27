#pragma once

#include "bank/BankPack.h"
#include "base/Form.h"

#include <QByteArray>

// Turns the answers of the bank's reads into a pack's values with the
// information page's own decoders, so the bank table shows exactly what the
// information page would for the same frame. A scratch copy of that page's
// form takes the decoded texts; the status words are kept as bits so the
// summary follows a language change.
class BankPackDecoder {
public:
    BankPackDecoder();

    // Live data (item 6) into `pack`; false, and `pack` unchanged, when the
    // frame is too short for its layout.
    bool decodeLive(const QByteArray &frame, BankPack *pack);
    // The battery ID answer (item 3) as the information page shows it.
    QString batteryId(const QByteArray &frame);

    // The information page's control each value of a pack is decoded into,
    // so that whatever reads the page's values can read a pack's alike.
    static const QString &control(BankPack::Value value);

    static constexpr quint8 liveItem = 6;
    static constexpr quint8 batteryIdItem = 3;
    // Data lengths of the answers, for the wait per exchange.
    static constexpr int liveAnswerData = 56;
    static constexpr int batteryIdAnswerData = 32;

private:
    Form m_info;
};
