#pragma once

#include "link/CommandCode.h"
#include "requests/ResultMessage.h"
#include "state/AppState.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The command catalogue as data: one row per code, read by the request
// builder and by the response dispatcher alike. A row says what goes on the
// wire, where its values come from, what the page shows as empty while the
// answer is awaited, what the status line says, which decoder takes the
// answer, and what follows it.

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

// Which decoder takes an answer. The decoders sit above this catalogue, in
// responses/, which maps every value to its function; the handler decoders
// are installed there by the session (stored records, the upgrade).
enum class Decoder : quint8 {
    none,            // no answer is taken
    acknowledgement, // nothing to decode: the answer confirms a write or a switch
    projectNumber,   // identity texts, onto the answer's page
    model,
    batteryId,
    customText,
    versions,
    sof,
    liveData,
    cellTemperatures,
    cellVoltages,
    balancing,
    parameterRow, // AnswerSpec::row
    shortCircuit,
    networkAddress,
    dates,
    passiveBalancing,
    counts,
    capacity,
    zeroCalibration,
    chargeCalibration,
    dischargeCalibration,
    samplingResistor,
    clock,
    serialSettings,
    handshake,
    customSelection,
    currentLimiting,
    preDischarge,
    activeBalancing,
    storedCount, // handlers from here on
    storedRecord,
    upgrade,
};
inline constexpr int decoderCount = int(Decoder::upgrade) + 1;

// How the answer to a row's request is taken and what follows it. The answer
// carries the request's operation (a read is answered with operation 0,
// anything else is acknowledged) and its item.
struct AnswerSpec {
    enum class Then : quint8 {
        Nothing,      // the decoder's handler decides what comes next
        ContinueWith, // `next` is requested at once
        Finish,       // `message`, then currentCommand becomes `next`
        Chain,        // Read All / Write All: see `chain`
    };
    Decoder decoder = Decoder::none;
    // A second item answering this code: the upgrade's handler chooses the
    // item by the target, APP or BOOT, when it lays out the frame.
    int otherItem = -1;
    // The answer is taken while currentCommand lies in this range: the row's
    // own code, any request at all (a late answer is still shown), or any
    // parameter row read (an answer for another row fills that row).
    quint8 takenFrom = 0;
    quint8 takenTo = 0;
    Form AppState::*page = nullptr; // where the decoder writes
    int row = -1;                   // Decoder::parameterRow
    bool live = false;              // a live value: the charts and the recording hear of it
    const char *name = nullptr;     // polling reads: the status line's name for a failed
                                    // answer (ResponseDispatcher context)
    Then then = Then::Nothing;
    // ContinueWith: the request that follows; Finish: the code after the
    // message; Chain: the next link, `pause` when this one is the last.
    quint8 next = CommandCode::pause;
    ResultMessage message = ResultMessage::none; // Finish; Chain: only this link was asked for
    // Chain: set while the whole chain runs; ends with `chainEnd`.
    bool AppState::*chain = nullptr;
    ResultMessage chainEnd = ResultMessage::none;

    bool takenWhile(quint8 inProgress) const
    {
        return inProgress >= takenFrom && inProgress <= takenTo;
    }
};

struct RequestSpec {
    enum class EmptyCheck { None, Localized, ChineseOnly };
    // Where the request's data comes from.
    enum class Build {
        Fields,      // `fields` from the page (none for a bare read)
        RecordIndex, // the stored-records page's AppState::recordIndex
        Handler,     // a handler installed on the request builder (the upgrade)
    };
    quint8 code = 0;
    quint8 operation = 0;
    quint8 item = 0;
    int length = 0;
    Build build = Build::Fields;
    Form AppState::*page =
        nullptr; // where fields, clears and tested boxes live; none for bare reads
    QList<RequestField> fields;
    QList<ClearStep> clears;
    EmptyCheck emptyCheck = EmptyCheck::None;
    QStringList tested;                 // boxes that must not be ""
    const char *status = nullptr;       // RequestBuilder context; nullptr leaves the line alone
    const char *statusSuffix = nullptr; // appended untranslated
    AnswerSpec answer;
    // An answer that cannot be decoded ends the exchange: the pause, no Read
    // All or Write All carrying on, the status line naming what failed. So
    // for the parameter and system pages' rows; a polling read is asked again,
    // and a switch or a stored-records request keeps its code.
    bool faultEndsExchange = false;

    bool answeredByRead() const { return operation == 0; }
};

namespace RequestTable {
// nullptr for codes without a row (pause, cycleParked and the unused ones).
const RequestSpec *find(quint8 code);
// Every row, in code order.
const QList<RequestSpec> &all();
// The rows whose answer is a read (or an acknowledgement) of `item`, in code
// order, whatever is in progress.
const QList<const RequestSpec *> &answeredBy(bool read, quint8 item);
// The row that takes that answer while `inProgress` is the request in
// progress; nullptr when none does. At most one row takes any answer.
const RequestSpec *takenBy(bool read, quint8 item, quint8 inProgress);
// The polling read answered by a read of `item`; nullptr when it is not one.
const RequestSpec *pollingRead(quint8 item);
} // namespace RequestTable
