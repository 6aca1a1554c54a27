#pragma once

#include "state/AppState.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The command catalogue as data: for every code with a request of its own,
// what goes on the wire, where its values come from, what the page shows as
// empty while the answer is awaited, and what the status line says.

// One value of a request's data, laid out at a frame index.
struct RequestField {
    enum class Kind {
        Text,          // text box, `width` bytes, Latin-1, zero padded
        Word,          // number from a text box times `scale`, 16 bits
        Byte,          // whole number 0..255 from a text box or an editable list
        CheckByte,     // check box state as one byte
        CheckWord,     // check box state as a word
        OptionByte,    // index of the selected option, 0 when none is
        ListIndexByte, // position of the selected list entry; none selected is refused
        Date,          // yyyy-mm-dd text as year mod 100, month, day
        HexPairs,      // `width` bytes from pairs of hex digits
        Clock,         // the PC clock: year mod 100, month, day, hour, minute, second
        Constant,      // the byte `constant`
    };
    Kind kind = Kind::Constant;
    int index = 0;               // frame index of the first byte
    QString control;             // on the request's page
    double scale = 1;            // Word
    bool isSigned = false;       // Word: -32768..32767, else 0..65535 (as the BMS reports it back)
    int width = 0;               // Text, HexPairs
    quint8 constant = 0;         // Constant
    const char *group = nullptr; // English source texts naming the field in messages
    const char *label = nullptr;
};

// A display control emptied when a read is sent, so a value never answered
// cannot be mistaken for one that was.
struct ClearStep {
    enum class Kind { Text, Check, Choice, TimeMask };
    QString control;
    Kind kind = Kind::Text;
};

struct RequestSpec {
    enum class EmptyCheck { None, Localized, ChineseOnly };
    quint8 code = 0;
    quint8 operation = 0;
    quint8 item = 0;
    int length = 0;
    Form AppState::*page =
        nullptr; // where fields, clears and tested boxes live; none for bare reads
    QList<RequestField> fields;
    QList<ClearStep> clears;
    EmptyCheck emptyCheck = EmptyCheck::None;
    QStringList tested;                 // boxes that must not be ""
    const char *status = nullptr;       // RequestBuilder context; nullptr leaves the line alone
    const char *statusSuffix = nullptr; // appended untranslated
};

namespace RequestTable {
// nullptr for codes without a table entry (pause, cycleParked, storedRecord,
// upgrade and the unused ones).
const RequestSpec *find(quint8 code);
// Every entry, in code order.
const QList<RequestSpec> &all();
} // namespace RequestTable
