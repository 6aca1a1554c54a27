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

struct Poll {
    quint8 item;
    const char *status;
    const char *suffix;
};

const Poll pollTable[CommandCode::lastLiveRead + 1] = {
    {1, QT_TRANSLATE_NOOP("RequestBuilder", "Read Project No."), nullptr},
    {2, QT_TRANSLATE_NOOP("RequestBuilder", "Read BMS model"), nullptr},
    {3, QT_TRANSLATE_NOOP("RequestBuilder", "Read Battery ID"), nullptr},
    {4, QT_TRANSLATE_NOOP("RequestBuilder", "Read Software ver and Hardware ver"), nullptr},
    {5, QT_TRANSLATE_NOOP("RequestBuilder", "Read Software ver and Hardware ver"), "2"},
    {6, QT_TRANSLATE_NOOP("RequestBuilder", "Read Basic Information"), nullptr},
    {7, QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell Temperature"), nullptr},
    {8, QT_TRANSLATE_NOOP("RequestBuilder", "Read Cell Voltage"), nullptr},
    {9, QT_TRANSLATE_NOOP("RequestBuilder", "Read Balanced"), nullptr},
    {19, QT_TRANSLATE_NOOP("RequestBuilder", "Read Custom"), nullptr},
};

// Data bytes of the control commands: charge MOS, discharge MOS, sleep,
// reset, storage; 0xFF leaves a switch as it is.
struct Control {
    quint8 code;
    quint8 bytes[5];
};
const Control controlTable[] = {
    {CommandCode::chargeMosOff, {0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
    {CommandCode::dischargeMosOff, {0xFF, 0x00, 0xFF, 0xFF, 0xFF}},
    {CommandCode::sleep, {0xFF, 0xFF, 0x01, 0xFF, 0xFF}},
    {CommandCode::reset, {0xFF, 0xFF, 0xFF, 0x01, 0xFF}},
    {CommandCode::storage, {0xFF, 0xFF, 0xFF, 0xFF, 0x01}},
    {CommandCode::chargeMosOn, {0x01, 0xFF, 0xFF, 0xFF, 0xFF}},
    {CommandCode::dischargeMosOn, {0xFF, 0x01, 0xFF, 0xFF, 0xFF}},
    {CommandCode::wake, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
};

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

RequestSpec read(quint8 code, quint8 item, Form AppState::*page = nullptr,
                 QList<ClearStep> clears = {})
{
    RequestSpec s;
    s.code = code;
    s.operation = 0;
    s.item = item;
    s.page = page;
    s.clears = std::move(clears);
    return s;
}

RequestSpec write(quint8 code, quint8 item, int length, QList<RequestField> fields,
                  Check check = Check::None, QStringList tested = {},
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
    return s;
}

void addPolling(QList<RequestSpec> &list)
{
    for (int code = CommandCode::firstLiveRead; code <= CommandCode::lastLiveRead; ++code) {
        RequestSpec s = read(quint8(code), pollTable[code].item);
        s.status = pollTable[code].status;
        s.statusSuffix = pollTable[code].suffix;
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
        RequestSpec rd = read(CommandCode::rowRead(r), quint8(40 + r), &AppState::param, clears);
        rd.status = row.readStatus;
        list.append(rd);
    }
    for (int r = 0; r < rows; ++r) {
        const Row &row = rowTable[r];
        // The wire order is not the page's column order.
        list.append(
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
                  Check::None, {}, &AppState::param));
    }
}

void addControls(QList<RequestSpec> &list)
{
    for (const Control &c : controlTable) {
        QList<RequestField> bytes;
        for (int i = 0; i < 5; ++i)
            bytes.append(constant(7 + i, c.bytes[i]));
        list.append(write(c.code, 60, 5, bytes));
    }
}

void addShortCircuit(QList<RequestSpec> &list)
{
    using namespace ParamField;
    list.append(read(CommandCode::shortCircuitRead, 113, &AppState::param,
                     texts({shortVoltageLevel, shortDelayLevel})));
    list.append(write(CommandCode::shortCircuitWrite, 113, 2,
                      {field(Kind::Byte, 7, shortVoltageLevel,
                             QT_TRANSLATE_NOOP("WriteEncoder", "Short circuit voltage level")),
                       field(Kind::Byte, 8, shortDelayLevel,
                             QT_TRANSLATE_NOOP("WriteEncoder", "Short circuit delay level"))},
                      Check::ChineseOnly, {shortVoltageLevel, shortDelayLevel}, &AppState::param));
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
    list.append(read(CommandCode::activeBalancingRead, 24, &AppState::system, texts(values)));
    list.append(write(CommandCode::activeBalancingWrite, 24, 33, fields));
}

void addSystemSettings(QList<RequestSpec> &list)
{
    using namespace SystemField;
    const Check localized = Check::Localized;

    list.append(read(CommandCode::projectNumberRead, 1, &AppState::system, texts({projectNumber})));
    list.append(write(CommandCode::projectNumberWrite, 1, 24,
                      {text(7, projectNumber, 24, QT_TRANSLATE_NOOP("WriteEncoder", "Project No"))},
                      localized, {projectNumber}));
    list.append(read(CommandCode::modelRead, 2, &AppState::system, texts({model})));
    list.append(write(CommandCode::modelWrite, 2, 24,
                      {text(7, model, 24, QT_TRANSLATE_NOOP("WriteEncoder", "BMS model"))},
                      localized, {model}));
    list.append(read(CommandCode::batteryIdRead, 3, &AppState::system, texts({batteryId})));
    list.append(write(CommandCode::batteryIdWrite, 3, 32,
                      {text(7, batteryId, 32, QT_TRANSLATE_NOOP("WriteEncoder", "Battery ID"))},
                      localized, {batteryId}));
    list.append(read(CommandCode::customTextRead, 19, &AppState::system, texts({customText})));
    list.append(write(CommandCode::customTextWrite, 19, 32,
                      {text(7, customText, 32, QT_TRANSLATE_NOOP("WriteEncoder", "Custom"))},
                      localized, {customText}));
    list.append(read(CommandCode::networkRead, 125, &AppState::system, texts({ip, ipPort})));
    list.append(write(CommandCode::networkWrite, 125, 50,
                      {text(7, ip, 40, QT_TRANSLATE_NOOP("WriteEncoder", "IP/Web")),
                       text(47, ipPort, 10, QT_TRANSLATE_NOOP("WriteEncoder", "Port number"))},
                      localized, {ip, ipPort}));

    list.append(read(CommandCode::datesRead, 10, &AppState::system,
                     texts({productionDate, shippingDate, batch})));
    RequestField batchField = field(Kind::HexPairs, 13, batch);
    batchField.width = 8;
    list.append(write(
        CommandCode::datesWrite, 10, 14,
        {field(Kind::Date, 7, productionDate, QT_TRANSLATE_NOOP("WriteEncoder", "Production Date")),
         field(Kind::Date, 10, shippingDate, QT_TRANSLATE_NOOP("WriteEncoder", "Shipping Date")),
         batchField},
        Check::ChineseOnly, {productionDate, shippingDate, batch}));

    QList<ClearStep> balanceClears{{balanceEnable, ClearStep::Kind::Check}};
    balanceClears += texts({balanceOpen, balanceDiff, balanceClose});
    list.append(read(CommandCode::passiveBalancingRead, 12, &AppState::system, balanceClears));
    list.append(write(
        CommandCode::passiveBalancingWrite, 12, 8,
        {constant(7, 0), field(Kind::CheckByte, 8, balanceEnable),
         unsignedWord(9, balanceOpen, 1000, QT_TRANSLATE_NOOP("WriteEncoder", "open volt(V)")),
         unsignedWord(11, balanceDiff, 1000,
                      QT_TRANSLATE_NOOP("WriteEncoder", "Balanced diff volt(V)")),
         unsignedWord(13, balanceClose, 1000, QT_TRANSLATE_NOOP("WriteEncoder", "Closed volt(V)"))},
        localized, {balanceOpen, balanceDiff, balanceClose}));

    list.append(read(CommandCode::countsRead, 11, &AppState::system,
                     texts({cellNumber, lowCellNumber, ntcNumber})));
    list.append(write(
        CommandCode::countsWrite, 11, 6,
        {unsignedWord(7, cellNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "Cell number")),
         unsignedWord(9, lowCellNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "Low Cell number")),
         unsignedWord(11, ntcNumber, 1, QT_TRANSLATE_NOOP("WriteEncoder", "NTC number"))},
        localized, {cellNumber, lowCellNumber, ntcNumber}));

    const QStringList capacity{soc, cycles, standardCapacity, fullCapacity, attenuationCycles};
    list.append(read(CommandCode::capacityRead, 13, &AppState::system, texts(capacity)));
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
              localized, capacity));

    list.append(
        read(CommandCode::zeroCalibrationRead, 14, &AppState::system, texts({zeroCalibration})));
    list.append(write(CommandCode::zeroCalibrationWrite, 14, 0, {}));
    list.append(read(CommandCode::chargeCalibrationRead, 15, &AppState::system,
                     texts({chargeCalibration})));
    list.append(write(CommandCode::chargeCalibrationWrite, 15, 2,
                      {unsignedWord(7, chargeCalibration, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Charging calibration"))},
                      Check::ChineseOnly, {chargeCalibration}));
    list.append(read(CommandCode::dischargeCalibrationRead, 16, &AppState::system,
                     texts({dischargeCalibration})));
    list.append(write(CommandCode::dischargeCalibrationWrite, 16, 2,
                      {unsignedWord(7, dischargeCalibration, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Discharge calibration"))},
                      localized, {dischargeCalibration}));
    list.append(
        read(CommandCode::samplingResistorRead, 17, &AppState::system, texts({samplingResistor})));
    list.append(write(CommandCode::samplingResistorWrite, 17, 2,
                      {unsignedWord(7, samplingResistor, 100,
                                    QT_TRANSLATE_NOOP("WriteEncoder", "Sampling resistor(mR)"))},
                      localized, {samplingResistor}));

    list.append(read(CommandCode::clockRead, 18, &AppState::system,
                     {{bmsTime, ClearStep::Kind::TimeMask}}));
    list.append(write(CommandCode::clockWrite, 18, 6, {field(Kind::Clock, 7, {})}));

    const RequestField usartByte =
        field(Kind::Byte, 7, usart, QT_TRANSLATE_NOOP("WriteEncoder", "USART"));
    RequestSpec serialRead =
        read(CommandCode::serialRead, 20, &AppState::system,
             {{baud, ClearStep::Kind::Text}, {parity, ClearStep::Kind::Choice}});
    serialRead.length = 1;
    serialRead.fields = {usartByte};
    list.append(serialRead);
    list.append(write(
        CommandCode::serialWrite, 20, 4,
        {usartByte, unsignedWord(8, baud, 0.1, QT_TRANSLATE_NOOP("WriteEncoder", "Baud rate")),
         field(Kind::ListIndexByte, 10, parity, QT_TRANSLATE_NOOP("WriteEncoder", "Parity bit"))}));

    list.append(read(CommandCode::handshakeRead, 21));
    list.append(write(CommandCode::handshakeWrite, 21, 1, {field(Kind::OptionByte, 7, handshake)}));
    list.append(read(CommandCode::customSelectionRead, 22));
    list.append(write(CommandCode::customSelectionWrite, 22, 1,
                      {field(Kind::OptionByte, 7, customSelection)}));

    list.append(read(CommandCode::moduleRead, 23, &AppState::system,
                     texts({moduleAddress, limitMode, limitThreshold, limitTime})));
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
                            QT_TRANSLATE_NOOP("WriteEncoder", "Current limiting time(S)"))}));

    list.append(
        read(CommandCode::preDischargeRead, 130, &AppState::system, texts({preDischargeTime})));
    list.append(write(
        CommandCode::preDischargeWrite, 130, 3,
        {field(Kind::OptionByte, 7, preDischarge),
         unsignedWord(8, preDischargeTime, 100,
                      QT_TRANSLATE_NOOP("WriteEncoder", "PreDisMode switch NormalMode time(S)"))}));

    addActiveBalancing(list);
}

QList<RequestSpec> buildTable()
{
    QList<RequestSpec> list;
    addPolling(list);
    addParameterRows(list);
    addControls(list);
    addShortCircuit(list);
    addSystemSettings(list);
    list.append(read(CommandCode::storedCount, 71));
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

} // namespace RequestTable
