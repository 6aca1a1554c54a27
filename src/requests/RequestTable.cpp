#include "requests/RequestTable.h"

#include "link/CommandCode.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

using Kind = RequestField::Kind;
using Check = RequestSpec::EmptyCheck;

struct Row {
    const char *caption;
    double scale;
    bool isSigned;
    const char *readStatus;
};

// Row r answers item 40 + r and belongs to alarm and protection bit r.
// Currents and temperatures go out signed, voltages unsigned.
const Row rowTable[ParamField::rows] = {
    {QT_TRANSLATE_NOOP("WriteEncoder", "Cell_OV"), 1000, false,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell_OV")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Cell_UV"), 1000, false,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell_UV")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Total_OV"), 100, false,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Total_OV")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Total_UV"), 100, false,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Total_UV ")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Discharge_OC1"), 100, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Discharge_OC1")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Discharge_OC2"), 100, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Discharge_OC2")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Charge_OC"), 100, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Charge_OC")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Charge_OT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Charge_OT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Discharge_OT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Discharge_OT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Charge_UT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Charge_UT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Discharge_UT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Discharge_UT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "MOS_OT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read MOS_OT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "SOC_UC"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read SOC_UC")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Environment_OT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Environment_OT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Environment_UT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Environment_UT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Cell_DIFT"), 10, true,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell_DIFT")},
    {QT_TRANSLATE_NOOP("WriteEncoder", "Cell_DIFV"), 1000, false,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell_DIFV")},
};

// The polling cycle, one read per code. The identity texts are taken only when
// the cycle asked for them (the system page reads the same items); the live
// items are taken whatever is in progress, and the charts and the recording
// hear of each.
struct Poll {
    quint8 item;
    Decoder decoder;
    bool live;
    quint8 next;
    const char *status;
    const char *suffix;
    const char *name;
};

const Poll pollTable[CommandCode::lastLiveRead + 1] = {
    {1, Decoder::projectNumber, false, 1, QT_TRANSLATE_NOOP("RequestBuilder", "Read Project No."),
     nullptr, QT_TRANSLATE_NOOP("ResponseDispatcher", "project number")},
    {2, Decoder::model, false, 2, QT_TRANSLATE_NOOP("RequestBuilder", "Read BMS model"), nullptr,
     QT_TRANSLATE_NOOP("ResponseDispatcher", "BMS model")},
    {3, Decoder::batteryId, false, 3, QT_TRANSLATE_NOOP("RequestBuilder", "Read Battery ID"),
     nullptr, QT_TRANSLATE_NOOP("ResponseDispatcher", "battery ID")},
    {4, Decoder::versions, true, 4,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Software ver and Hardware ver"), nullptr,
     QT_TRANSLATE_NOOP("ResponseDispatcher", "software and hardware version")},
    {5, Decoder::sof, true, 5,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Software ver and Hardware ver"), "2",
     QT_TRANSLATE_NOOP("ResponseDispatcher", "SOF")},
    {6, Decoder::liveData, true, 6, QT_TRANSLATE_NOOP("RequestBuilder", "Read Basic Information"),
     nullptr, QT_TRANSLATE_NOOP("ResponseDispatcher", "basic information")},
    {7, Decoder::cellTemperatures, true, 7,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell Temperature"), nullptr,
     QT_TRANSLATE_NOOP("ResponseDispatcher", "cell temperatures")},
    {8, Decoder::cellVoltages, true, 8, QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell Voltage"),
     nullptr, QT_TRANSLATE_NOOP("ResponseDispatcher", "cell voltages")},
    {9, Decoder::balancing, true, 9, QT_TRANSLATE_NOOP("RequestBuilder", "Read Balanced"), nullptr,
     QT_TRANSLATE_NOOP("ResponseDispatcher", "balancing state")},
    // The end of a cycle: parked until the next send tick starts the next one.
    {19, Decoder::customText, false, CommandCode::cycleParked,
     QT_TRANSLATE_NOOP("RequestBuilder", "Read Custom"), nullptr,
     QT_TRANSLATE_NOOP("ResponseDispatcher", "custom text")},
};

// Data bytes of the control commands: charge MOS, discharge MOS, sleep,
// reset, storage; 0xFF leaves a switch as it is.
// Sleep and storage leave the pack silent, so the cycle stays paused after
// them; the other switches resume it.
struct Control {
    quint8 code;
    quint8 bytes[5];
    bool resumesCycle;
};
const Control controlTable[] = {
    {CommandCode::chargeMosOff, {0x00, 0xFF, 0xFF, 0xFF, 0xFF}, true},
    {CommandCode::dischargeMosOff, {0xFF, 0x00, 0xFF, 0xFF, 0xFF}, true},
    {CommandCode::sleep, {0xFF, 0xFF, 0x01, 0xFF, 0xFF}, false},
    {CommandCode::reset, {0xFF, 0xFF, 0xFF, 0x01, 0xFF}, true},
    {CommandCode::storage, {0xFF, 0xFF, 0xFF, 0xFF, 0x01}, false},
    {CommandCode::chargeMosOn, {0x01, 0xFF, 0xFF, 0xFF, 0xFF}, true},
    {CommandCode::dischargeMosOn, {0xFF, 0x01, 0xFF, 0xFF, 0xFF}, true},
    {CommandCode::wake, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, true},
};

// Answers: taken while the row's own code is in progress, or whenever they
// come.
AnswerSpec whenAsked(quint8 code, Decoder decoder)
{
    AnswerSpec a;
    a.decoder = decoder;
    a.takenFrom = code;
    a.takenTo = code;
    return a;
}

AnswerSpec anyTime(Decoder decoder)
{
    AnswerSpec a;
    a.decoder = decoder;
    a.takenFrom = 0;
    a.takenTo = 255;
    return a;
}

AnswerSpec continuing(AnswerSpec a, quint8 next)
{
    a.then = AnswerSpec::Then::ContinueWith;
    a.next = next;
    return a;
}

AnswerSpec finishing(AnswerSpec a, ResultMessage message, quint8 next = CommandCode::pause)
{
    a.then = AnswerSpec::Then::Finish;
    a.message = message;
    a.next = next;
    return a;
}

// A page setting: its answer ends the exchange with its message whenever it
// comes, so that a late answer is still shown.
AnswerSpec ending(Decoder decoder, ResultMessage message, Form AppState::*page = nullptr)
{
    AnswerSpec a = finishing(anyTime(decoder), message);
    a.page = page;
    return a;
}

AnswerSpec acknowledged(ResultMessage message)
{
    return ending(Decoder::acknowledgement, message);
}

// A link of Read All or Write All: on its own it ends with `single`; in the
// chain it asks for `next`, and the last link ends with `all`.
AnswerSpec chained(AnswerSpec a, quint8 next, bool AppState::*flag, ResultMessage single,
                   ResultMessage all)
{
    a.then = AnswerSpec::Then::Chain;
    a.next = next;
    a.chain = flag;
    a.message = single;
    a.chainEnd = all;
    return a;
}

RequestField text(int index, const QString &control, int width, const char *label)
{
    RequestField f;
    f.kind = Kind::Text;
    f.index = index;
    f.control = control;
    f.width = width;
    f.label = label;
    return f;
}

RequestField word(int index, const QString &control, double scale, bool isSigned, const char *label,
                  const char *group = nullptr)
{
    RequestField f;
    f.kind = Kind::Word;
    f.index = index;
    f.control = control;
    f.scale = scale;
    f.isSigned = isSigned;
    f.label = label;
    f.group = group;
    return f;
}

RequestField unsignedWord(int index, const QString &control, double scale, const char *label,
                          const char *group = nullptr)
{
    return word(index, control, scale, false, label, group);
}

RequestField field(Kind kind, int index, const QString &control, const char *label = nullptr)
{
    RequestField f;
    f.kind = kind;
    f.index = index;
    f.control = control;
    f.label = label;
    return f;
}

RequestField constant(int index, quint8 value)
{
    RequestField f;
    f.kind = Kind::Constant;
    f.index = index;
    f.constant = value;
    return f;
}

QList<ClearStep> texts(const QStringList &controls)
{
    QList<ClearStep> steps;
    for (const QString &c : controls)
        steps.append({c, ClearStep::Kind::Text});
    return steps;
}

RequestSpec read(quint8 code, quint8 item, Form AppState::*page, QList<ClearStep> clears,
                 AnswerSpec answer)
{
    RequestSpec s;
    s.code = code;
    s.operation = 0;
    s.item = item;
    s.page = page;
    s.clears = std::move(clears);
    s.answer = std::move(answer);
    return s;
}

// A read of the system page.
RequestSpec systemRead(quint8 code, quint8 item, QList<ClearStep> clears, Decoder decoder,
                       ResultMessage message)
{
    return read(code, item, &AppState::system, std::move(clears),
                ending(decoder, message, &AppState::system));
}

// A read of one of the identity texts that the polling cycle also reads: only
// the system page's own request takes its answer.
RequestSpec identityRead(quint8 code, quint8 item, const QString &control, Decoder decoder)
{
    AnswerSpec answer = finishing(whenAsked(code, decoder), ResultMessage::readSucceeded);
    answer.page = &AppState::system;
    return read(code, item, &AppState::system, texts({control}), answer);
}

RequestSpec write(quint8 code, quint8 item, int length, QList<RequestField> fields,
                  ResultMessage message, Check check = Check::None, QStringList tested = {},
                  Form AppState::*page = &AppState::system)
{
    RequestSpec s;
    s.code = code;
    s.operation = 1;
    s.item = item;
    s.length = length;
    s.page = page;
    s.fields = std::move(fields);
    s.emptyCheck = check;
    s.tested = std::move(tested);
    s.answer = acknowledged(message);
    return s;
}

void addPolling(QList<RequestSpec> &list)
{
    for (int code = CommandCode::firstLiveRead; code <= CommandCode::lastLiveRead; ++code) {
        const Poll &p = pollTable[code];
        AnswerSpec answer =
            continuing(p.live ? anyTime(p.decoder) : whenAsked(quint8(code), p.decoder), p.next);
        answer.page = &AppState::info;
        answer.live = p.live;
        answer.name = p.name;
        RequestSpec s = read(quint8(code), p.item, nullptr, {}, answer);
        s.status = p.status;
        s.statusSuffix = p.suffix;
        list.append(s);
    }
}

void addParameterRows(QList<RequestSpec> &list)
{
    using namespace ParamField;
    for (int r = 0; r < rows; ++r) {
        const Row &row = rowTable[r];
        QList<ClearStep> clears =
            texts({cs(5 * r), cs(5 * r + 1), cs(5 * r + 2), cs(5 * r + 3), cs(5 * r + 4)});
        clears.append({fx(2 * r), ClearStep::Kind::Check});
        clears.append({fx(2 * r + 1), ClearStep::Kind::Check});
        // Any row read in progress takes the answer for any row: the row
        // comes from the answer, and Read All goes on after it.
        AnswerSpec answer;
        answer.decoder = Decoder::parameterRow;
        answer.takenFrom = CommandCode::firstRowRead;
        answer.takenTo = CommandCode::lastRowRead;
        answer.page = &AppState::param;
        answer.row = r;
        const bool last = r == rows - 1;
        answer =
            chained(answer, last ? CommandCode::pause : CommandCode::rowRead(r + 1),
                    &AppState::readAllActive, ResultMessage::readSucceeded, ResultMessage::readAll);
        RequestSpec rd =
            read(CommandCode::rowRead(r), quint8(40 + r), &AppState::param, clears, answer);
        rd.status = row.readStatus;
        list.append(rd);
    }
    for (int r = 0; r < rows; ++r) {
        const Row &row = rowTable[r];
        // The wire order is not the page's column order.
        RequestSpec wr =
            write(CommandCode::rowWrite(r), quint8(40 + r), 14,
                  {word(7, cs(5 * r + 2), row.scale, row.isSigned,
                        QT_TRANSLATE_NOOP("WriteEncoder", "ProtVal"), row.caption),
                   word(9, cs(5 * r + 3), row.scale, row.isSigned,
                        QT_TRANSLATE_NOOP("WriteEncoder", "ProtRecVal"), row.caption),
                   word(11, cs(5 * r), row.scale, row.isSigned,
                        QT_TRANSLATE_NOOP("WriteEncoder", "AlaVal"), row.caption),
                   unsignedWord(13, cs(5 * r + 4), 100,
                                QT_TRANSLATE_NOOP("WriteEncoder", "ProtDelay"), row.caption),
                   field(Kind::CheckWord, 15, fx(2 * r)),
                   unsignedWord(17, cs(5 * r + 1), 100,
                                QT_TRANSLATE_NOOP("WriteEncoder", "AlaDelay"), row.caption),
                   field(Kind::CheckWord, 19, fx(2 * r + 1))},
                  {}, Check::None, {}, &AppState::param);
        const bool last = r == rows - 1;
        wr.answer =
            chained(whenAsked(wr.code, Decoder::acknowledgement),
                    last ? CommandCode::pause : CommandCode::rowWrite(r + 1),
                    &AppState::writeAllActive, ResultMessage::rowWritten, ResultMessage::setAll);
        list.append(wr);
    }
}

void addControls(QList<RequestSpec> &list)
{
    for (const Control &c : controlTable) {
        QList<RequestField> bytes;
        for (int i = 0; i < 5; ++i)
            bytes.append(constant(7 + i, c.bytes[i]));
        RequestSpec s = write(c.code, 60, 5, bytes, {});
        // Every switch is acknowledged with the same item: only the one asked
        // for takes it.
        s.answer =
            finishing(whenAsked(c.code, Decoder::acknowledgement), ResultMessage::controlSucceeded,
                      c.resumesCycle ? CommandCode::firstLiveRead : CommandCode::pause);
        list.append(s);
    }
}

void addShortCircuit(QList<RequestSpec> &list)
{
    using namespace ParamField;
    list.append(
        read(CommandCode::shortCircuitRead, 113, &AppState::param,
             texts({shortVoltageLevel, shortDelayLevel}),
             ending(Decoder::shortCircuit, ResultMessage::shortCircuitRead, &AppState::param)));
    list.append(write(CommandCode::shortCircuitWrite, 113, 2,
                      {field(Kind::Byte, 7, shortVoltageLevel,
                             QT_TRANSLATE_NOOP("WriteEncoder", "Short circuit voltage level")),
                       field(Kind::Byte, 8, shortDelayLevel,
                             QT_TRANSLATE_NOOP("WriteEncoder", "Short circuit delay level"))},
                      ResultMessage::shortCircuitWritten, Check::ChineseOnly,
                      {shortVoltageLevel, shortDelayLevel}, &AppState::param));
}

void addActiveBalancing(QList<RequestSpec> &list)
{
    using namespace SystemField;
    static const char *const groups[3] = {QT_TRANSLATE_NOOP("WriteEncoder", "Charge"),
                                          QT_TRANSLATE_NOOP("WriteEncoder", "Discharge"),
                                          QT_TRANSLATE_NOOP("WriteEncoder", "Idle")};
    static const char *const columns[5] = {QT_TRANSLATE_NOOP("WriteEncoder", "Open_V"),
                                           QT_TRANSLATE_NOOP("WriteEncoder", "Close_V"),
                                           QT_TRANSLATE_NOOP("WriteEncoder", "Open_DIV"),
                                           QT_TRANSLATE_NOOP("WriteEncoder", "Close_DIV"),
                                           QT_TRANSLATE_NOOP("WriteEncoder", "Time(S)")};
    QStringList values;
    QList<RequestField> fields;
    for (int g = 0; g < 3; ++g) {
        const int base = 7 + 11 * g;
        fields.append(field(Kind::CheckByte, base, activeEnable(g)));
        for (int c = 0; c < 5; ++c) {
            values.append(activeValue(g, c));
            fields.append(unsignedWord(base + 1 + 2 * c, activeValue(g, c), c < 4 ? 1000 : 1,
                                       columns[c], groups[g]));
        }
    }
    list.append(systemRead(CommandCode::activeBalancingRead, 24, texts(values),
                           Decoder::activeBalancing, ResultMessage::activeBalancingRead));
    list.append(write(CommandCode::activeBalancingWrite, 24, 33, fields,
                      ResultMessage::activeBalancingWritten));
}

void addSystemSettings(QList<RequestSpec> &list)
{
    using namespace SystemField;
    const Check localized = Check::Localized;

    list.append(
        identityRead(CommandCode::projectNumberRead, 1, projectNumber, Decoder::projectNumber));
    list.append(write(CommandCode::projectNumberWrite, 1, 24,
                      {text(7, projectNumber, 24, QT_TRANSLATE_NOOP("WriteEncoder", "Project No"))},
                      ResultMessage::projectNumberWritten, localized, {projectNumber}));
    list.append(identityRead(CommandCode::modelRead, 2, model, Decoder::model));
    list.append(write(CommandCode::modelWrite, 2, 24,
                      {text(7, model, 24, QT_TRANSLATE_NOOP("WriteEncoder", "BMS model"))},
                      ResultMessage::modelWritten, localized, {model}));
    list.append(identityRead(CommandCode::batteryIdRead, 3, batteryId, Decoder::batteryId));
    list.append(write(CommandCode::batteryIdWrite, 3, 32,
                      {text(7, batteryId, 32, QT_TRANSLATE_NOOP("WriteEncoder", "Battery ID"))},
                      ResultMessage::batteryIdWritten, localized, {batteryId}));
    list.append(identityRead(CommandCode::customTextRead, 19, customText, Decoder::customText));
    list.append(write(CommandCode::customTextWrite, 19, 32,
                      {text(7, customText, 32, QT_TRANSLATE_NOOP("WriteEncoder", "Custom"))},
                      ResultMessage::customTextWritten, localized, {customText}));
    list.append(systemRead(CommandCode::networkRead, 125, texts({ip, ipPort}),
                           Decoder::networkAddress, ResultMessage::networkRead));
    list.append(write(CommandCode::networkWrite, 125, 50,
                      {text(7, ip, 40, QT_TRANSLATE_NOOP("WriteEncoder", "IP/Web")),
                       text(47, ipPort, 10, QT_TRANSLATE_NOOP("WriteEncoder", "Port number"))},
                      ResultMessage::networkWritten, localized, {ip, ipPort}));

    list.append(systemRead(CommandCode::datesRead, 10, texts({productionDate, shippingDate, batch}),
                           Decoder::dates, ResultMessage::datesRead));
    RequestField batchField = field(Kind::HexPairs, 13, batch);
    batchField.width = 8;
    list.append(write(
        CommandCode::datesWrite, 10, 14,
        {field(Kind::Date, 7, productionDate, QT_TRANSLATE_NOOP("WriteEncoder", "Production Date")),
         field(Kind::Date, 10, shippingDate, QT_TRANSLATE_NOOP("WriteEncoder", "Shipping Date")),
         batchField},
        ResultMessage::datesWritten, Check::ChineseOnly, {productionDate, shippingDate, batch}));

    QList<ClearStep> balanceClears{{balanceEnable, ClearStep::Kind::Check}};
    balanceClears += texts({balanceOpen, balanceDiff, balanceClose});
    list.append(systemRead(CommandCode::passiveBalancingRead, 12, balanceClears,
                           Decoder::passiveBalancing, ResultMessage::passiveBalancingRead));
    list.append(write(
        CommandCode::passiveBalancingWrite, 12, 8,
        {constant(7, 0), field(Kind::CheckByte, 8, balanceEnable),
         unsignedWord(9, balanceOpen, 1000, QT_TRANSLATE_NOOP("WriteEncoder", "open volt(V)")),
         unsignedWord(11, balanceDiff, 1000,
                      QT_TRANSLATE_NOOP("WriteEncoder", "Balanced diff volt(V)")),
         unsignedWord(13, balanceClose, 1000, QT_TRANSLATE_NOOP("WriteEncoder", "Closed volt(V)"))},
        ResultMessage::passiveBalancingWritten, localized,
        {balanceOpen, balanceDiff, balanceClose}));

    list.append(systemRead(CommandCode::countsRead, 11,
                           texts({cellNumber, lowCellNumber, ntcNumber}), Decoder::counts,
                           ResultMessage::countsRead));
    list.append(write(
        CommandCode::countsWrite, 11, 6,
        {unsignedWord(7, cellNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "Cell number")),
         unsignedWord(9, lowCellNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "Low Cell number")),
         unsignedWord(11, ntcNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "NTC number"))},
        ResultMessage::countsWritten, localized, {cellNumber, lowCellNumber, ntcNumber}));

    const QStringList capacity{soc, cycles, standardCapacity, fullCapacity, attenuationCycles};
    list.append(systemRead(CommandCode::capacityRead, 13, texts(capacity), Decoder::capacity,
                           ResultMessage::capacityRead));
    list.append(
        write(CommandCode::capacityWrite, 13, 10,
              {unsignedWord(7, soc, 10, QT_TRANSLATE_NOOP("WriteEncoder", "SOC(%)")),
               unsignedWord(9, cycles, 1, QT_TRANSLATE_NOOP("WriteEncoder", "Cycles Number")),
               unsignedWord(11, standardCapacity, 100,
                            QT_TRANSLATE_NOOP("WriteEncoder", "Standard capacity(AH)")),
               unsignedWord(13, fullCapacity, 100,
                            QT_TRANSLATE_NOOP("WriteEncoder", "Full capacity(AH)")),
               unsignedWord(15, attenuationCycles, 1,
                            QT_TRANSLATE_NOOP("WriteEncoder", "80% attenuation cycles"))},
              ResultMessage::capacityWritten, localized, capacity));

    list.append(systemRead(CommandCode::zeroCalibrationRead, 14, texts({zeroCalibration}),
                           Decoder::zeroCalibration, ResultMessage::zeroCalibrationRead));
    list.append(
        write(CommandCode::zeroCalibrationWrite, 14, 0, {}, ResultMessage::zeroCalibrationWritten));
    list.append(systemRead(CommandCode::chargeCalibrationRead, 15, texts({chargeCalibration}),
                           Decoder::chargeCalibration, ResultMessage::chargeCalibrationRead));
    list.append(write(CommandCode::chargeCalibrationWrite, 15, 2,
                      {unsignedWord(7, chargeCalibration, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Charging calibration"))},
                      ResultMessage::chargeCalibrationWritten, Check::ChineseOnly,
                      {chargeCalibration}));
    list.append(systemRead(CommandCode::dischargeCalibrationRead, 16, texts({dischargeCalibration}),
                           Decoder::dischargeCalibration, ResultMessage::dischargeCalibrationRead));
    list.append(write(CommandCode::dischargeCalibrationWrite, 16, 2,
                      {unsignedWord(7, dischargeCalibration, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Discharge calibration"))},
                      ResultMessage::dischargeCalibrationWritten, localized,
                      {dischargeCalibration}));
    list.append(systemRead(CommandCode::samplingResistorRead, 17, texts({samplingResistor}),
                           Decoder::samplingResistor, ResultMessage::samplingResistorRead));
    list.append(write(CommandCode::samplingResistorWrite, 17, 2,
                      {unsignedWord(7, samplingResistor, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Sampling resistor(mR)"))},
                      ResultMessage::samplingResistorWritten, localized, {samplingResistor}));

    list.append(systemRead(CommandCode::clockRead, 18, {{bmsTime, ClearStep::Kind::TimeMask}},
                           Decoder::clock, ResultMessage::clockRead));
    list.append(write(CommandCode::clockWrite, 18, 6, {field(Kind::Clock, 7, {})},
                      ResultMessage::clockWritten));

    const RequestField usartByte =
        field(Kind::Byte, 7, usart, QT_TRANSLATE_NOOP("WriteEncoder", "USART"));
    RequestSpec serialRead =
        systemRead(CommandCode::serialRead, 20,
                   {{baud, ClearStep::Kind::Text}, {parity, ClearStep::Kind::Choice}},
                   Decoder::serialSettings, ResultMessage::serialSettingsRead);
    serialRead.length = 1;
    serialRead.fields = {usartByte};
    list.append(serialRead);
    list.append(write(
        CommandCode::serialWrite, 20, 4,
        {usartByte, unsignedWord(8, baud, 0.1, QT_TRANSLATE_NOOP("WriteEncoder", "Baud rate")),
         field(Kind::ListIndexByte, 10, parity, QT_TRANSLATE_NOOP("WriteEncoder", "Parity bit"))},
        ResultMessage::serialSettingsWritten));

    // The option groups are not emptied while their answer is awaited.
    list.append(read(CommandCode::handshakeRead, 21, nullptr, {},
                     ending(Decoder::handshake, ResultMessage::handshakeRead, &AppState::system)));
    list.append(write(CommandCode::handshakeWrite, 21, 1, {field(Kind::OptionByte, 7, handshake)},
                      ResultMessage::handshakeWritten));
    list.append(read(
        CommandCode::customSelectionRead, 22, nullptr, {},
        ending(Decoder::customSelection, ResultMessage::customSelectionRead, &AppState::system)));
    list.append(write(CommandCode::customSelectionWrite, 22, 1,
                      {field(Kind::OptionByte, 7, customSelection)},
                      ResultMessage::customSelectionWritten));

    list.append(systemRead(CommandCode::moduleRead, 23,
                           texts({moduleAddress, limitMode, limitThreshold, limitTime}),
                           Decoder::currentLimiting, ResultMessage::storageModuleRead));
    // The BMS takes the threshold negated, in 0.01 A.
    list.append(
        write(CommandCode::moduleWrite, 23, 7,
              {field(Kind::Byte, 7, moduleAddress, QT_TRANSLATE_NOOP("WriteEncoder", "BMSADD")),
               field(Kind::CheckByte, 8, limitEnable),
               field(Kind::Byte, 9, limitMode,
                     QT_TRANSLATE_NOOP("WriteEncoder", "Current limiting mode")),
               word(10, limitThreshold, -100, true,
                    QT_TRANSLATE_NOOP("WriteEncoder", "Current limiting threshold(A)")),
               unsignedWord(12, limitTime, 1,
                            QT_TRANSLATE_NOOP("WriteEncoder", "Current limiting time(S)"))},
              ResultMessage::storageModuleWritten));

    list.append(systemRead(CommandCode::preDischargeRead, 130, texts({preDischargeTime}),
                           Decoder::preDischarge, ResultMessage::preDischargeRead));
    list.append(write(
        CommandCode::preDischargeWrite, 130, 3,
        {field(Kind::OptionByte, 7, preDischarge),
         unsignedWord(8, preDischargeTime, 100,
                      QT_TRANSLATE_NOOP("WriteEncoder", "PreDisMode switch NormalMode time(S)"))},
        ResultMessage::preDischargeWritten));

    addActiveBalancing(list);
}

// The stored-records page and the upgrade: their answers go to the handlers
// the session installs, which decide what follows.
void addHandled(QList<RequestSpec> &list)
{
    list.append(read(CommandCode::storedCount, 71, nullptr, {}, anyTime(Decoder::storedCount)));
    // A 32-bit start index, of which the low 16 bits travel, and a count of 1.
    RequestSpec record =
        read(CommandCode::storedRecord, 70, nullptr, {}, anyTime(Decoder::storedRecord));
    record.length = 8;
    record.build = RequestSpec::Build::RecordIndex;
    list.append(record);
    // The handler lays out the frame for the target chosen on the upgrade
    // page: item 250 for the APP, 251 for the BOOT.
    RequestSpec upgrade;
    upgrade.code = CommandCode::upgrade;
    upgrade.operation = 1;
    upgrade.item = 250;
    upgrade.build = RequestSpec::Build::Handler;
    upgrade.answer = anyTime(Decoder::upgrade);
    upgrade.answer.otherItem = 251;
    list.append(upgrade);
}

// The rows `add` appends are the pages' own exchanges, which a failed answer
// ends.
void addPageExchanges(QList<RequestSpec> &list, void (*add)(QList<RequestSpec> &))
{
    const qsizetype from = list.size();
    add(list);
    for (qsizetype i = from; i < list.size(); ++i)
        list[i].faultEndsExchange = true;
}

QList<RequestSpec> buildTable()
{
    QList<RequestSpec> list;
    addPolling(list);
    addPageExchanges(list, addParameterRows);
    addControls(list);
    addPageExchanges(list, addShortCircuit);
    addPageExchanges(list, addSystemSettings);
    addHandled(list);
    std::sort(list.begin(), list.end(),
              [](const RequestSpec &a, const RequestSpec &b) { return a.code < b.code; });
    return list;
}

} // namespace

namespace RequestTable {

const QList<RequestSpec> &all()
{
    static const QList<RequestSpec> table = buildTable();
    return table;
}

const RequestSpec *find(quint8 code)
{
    static const auto index = [] {
        std::array<const RequestSpec *, 256> byCode{};
        for (const RequestSpec &s : all())
            byCode[s.code] = &s;
        return byCode;
    }();
    return index[code];
}

const QList<const RequestSpec *> &answeredBy(bool read, quint8 item)
{
    // Reads in the first half, acknowledgements in the second.
    static const auto index = [] {
        std::array<QList<const RequestSpec *>, 512> byAnswer;
        for (const RequestSpec &s : all()) {
            if (s.answer.decoder == Decoder::none)
                continue;
            const int half = s.answeredByRead() ? 0 : 256;
            byAnswer[half + s.item].append(&s);
            if (s.answer.otherItem >= 0)
                byAnswer[half + s.answer.otherItem].append(&s);
        }
        return byAnswer;
    }();
    return index[(read ? 0 : 256) + item];
}

const RequestSpec *takenBy(bool read, quint8 item, quint8 inProgress)
{
    for (const RequestSpec *s : answeredBy(read, item))
        if (s->answer.takenWhile(inProgress))
            return s;
    return nullptr;
}

const RequestSpec *pollingRead(quint8 item)
{
    for (const RequestSpec *s : answeredBy(true, item))
        if (s->code <= CommandCode::lastLiveRead)
            return s;
    return nullptr;
}

} // namespace RequestTable
