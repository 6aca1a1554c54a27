#include "sim/SettingsStore.h"

#include "sim/PackItems.h"
#include "sim/WireBytes.h"

#include <QRandomGenerator>
#include <cmath>

namespace {

struct StoredItem {
    quint8 item;
    int length;
};

constexpr StoredItem storedItems[] = {
    {PackItem::projectNumber, 24},   {PackItem::model, 24},
    {PackItem::batteryId, 32},       {PackItem::customText, 32},
    {PackItem::network, 50},         {PackItem::dates, 14},
    {PackItem::passiveBalancing, 8}, {PackItem::counts, 6},
    {PackItem::samplingResistor, 2}, {PackItem::chargeHandshake, 1},
    {PackItem::customSelection, 1},  {PackItem::currentLimiting, 7},
    {PackItem::preDischarge, 3},     {PackItem::activeBalancing, 33},
    {PackItem::shortCircuit, 2},
};
constexpr int paramRowLength = 14;

// Factory thresholds: protection, recovery, alarm, protection delay (s),
// alarm delay (s), in physical units. Voltages per cell are multiplied by the
// cell count for the pack rows, currents by the capacity (C-rate).
struct RowDefault {
    double protection, recovery, alarm, protectionDelay, alarmDelay;
    enum Basis { Plain, PerCell, CRate } basis;
};
constexpr RowDefault rowDefaults[PackItem::paramRows] = {
    {3.650, 3.400, 3.600, 2, 1, RowDefault::Plain},   // Cell_OV
    {2.500, 2.900, 2.800, 2, 1, RowDefault::Plain},   // Cell_UV
    {3.650, 3.400, 3.600, 2, 1, RowDefault::PerCell}, // Total_OV
    {2.500, 2.900, 2.800, 2, 1, RowDefault::PerCell}, // Total_UV
    {1.10, 0.90, 1.00, 5, 2, RowDefault::CRate},      // Discharge_OC1
    {1.50, 1.20, 1.40, 1, 0.5, RowDefault::CRate},    // Discharge_OC2
    {0.60, 0.50, 0.55, 5, 2, RowDefault::CRate},      // Charge_OC
    {55, 50, 50, 5, 3, RowDefault::Plain},            // Charge_OT
    {60, 55, 55, 5, 3, RowDefault::Plain},            // Discharge_OT
    {0, 5, 3, 5, 3, RowDefault::Plain},               // Charge_UT
    {-20, -15, -15, 5, 3, RowDefault::Plain},         // Discharge_UT
    {90, 75, 80, 5, 3, RowDefault::Plain},            // MOS_OT
    {5, 10, 10, 5, 3, RowDefault::Plain},             // SOC_UC
    {60, 55, 55, 5, 3, RowDefault::Plain},            // Environment_OT
    {-20, -15, -15, 5, 3, RowDefault::Plain},         // Environment_UT
    {15, 10, 10, 5, 3, RowDefault::Plain},            // Cell_DIFT
    {0.500, 0.300, 0.300, 5, 3, RowDefault::Plain},   // Cell_DIFV
};

int toWire(double value, double scale, bool isSigned = false)
{
    const long n = std::lround(value / scale);
    return int(isSigned ? qBound(-32768L, n, 32767L) : qBound(0L, n, 65535L));
}

QByteArray defaultRow(int row, const SettingsStore::Defaults &d)
{
    const RowDefault &r = rowDefaults[row];
    double factor = 1.0;
    if (r.basis == RowDefault::PerCell)
        factor = d.cells;
    else if (r.basis == RowDefault::CRate)
        factor = d.capacityAh;
    const double scale = SettingsStore::rowScale(row);
    const bool isSigned = SettingsStore::rowSigned(row);
    return WireBytes()
        .word(toWire(r.protection * factor, scale, isSigned))
        .word(toWire(r.recovery * factor, scale, isSigned))
        .word(toWire(r.alarm * factor, scale, isSigned))
        .word(toWire(r.protectionDelay, 0.01))
        .word(1)
        .word(toWire(r.alarmDelay, 0.01))
        .word(1)
        .bytes();
}

QByteArray activeGroupDefault(int enabled, double openV, double closeV, double openDiv,
                              double closeDiv, int timeS)
{
    return WireBytes()
        .byte(enabled)
        .word(toWire(openV, 0.001))
        .word(toWire(closeV, 0.001))
        .word(toWire(openDiv, 0.001))
        .word(toWire(closeDiv, 0.001))
        .word(timeS)
        .bytes();
}

} // namespace

SettingsStore::SettingsStore(const Defaults &d)
{
    const QByteArray cells = QByteArray::number(d.cells);
    const QByteArray ah = QByteArray::number(qRound(d.capacityAh));
    QRandomGenerator rng(d.seed);
    const QByteArray serial = QByteArray::number(100000 + rng.bounded(900000));

    m_items[PackItem::projectNumber] =
        WireBytes().text("CVP-" + cells + "S" + ah + "AH", 24).bytes();
    m_items[PackItem::model] = WireBytes().text("CV-BMS-" + cells + "S-LFP", 24).bytes();
    m_items[PackItem::batteryId] =
        WireBytes().text("CVB" + cells + "S" + ah + "-240315-" + serial, 32).bytes();
    m_items[PackItem::customText] = WireBytes().text("Cellvane simulated pack", 32).bytes();
    m_items[PackItem::network] = WireBytes().text("192.168.1.100", 40).text("502", 10).bytes();
    m_items[PackItem::dates] = WireBytes()
                                   .byte(24)
                                   .byte(3)
                                   .byte(15)
                                   .byte(24)
                                   .byte(4)
                                   .byte(2)
                                   .raw(QByteArray::fromHex("2403150000000001"))
                                   .bytes();
    m_items[PackItem::passiveBalancing] =
        WireBytes().word(1).word(3400).word(30).word(3350).bytes();
    m_items[PackItem::counts] =
        WireBytes().word(d.cells).word(qMin(d.cells, 16)).word(d.sensors).bytes();
    m_items[PackItem::samplingResistor] = WireBytes().word(50).bytes();
    m_items[PackItem::chargeHandshake] = WireBytes().byte(0).bytes();
    m_items[PackItem::customSelection] = WireBytes().byte(0).bytes();
    // Charge current limit 10 A, kept negated as the pack stores it.
    m_items[PackItem::currentLimiting] =
        WireBytes().byte(1).byte(0).byte(0).word(-1000).word(30).bytes();
    m_items[PackItem::preDischarge] = WireBytes().byte(1).word(100).bytes();
    m_items[PackItem::activeBalancing] =
        WireBytes()
            .raw(activeGroupDefault(0, 3.400, 3.350, 0.050, 0.010, 3600))
            .raw(activeGroupDefault(0, 3.200, 3.150, 0.080, 0.020, 3600))
            .raw(activeGroupDefault(0, 3.300, 3.250, 0.030, 0.010, 7200))
            .bytes();
    m_items[PackItem::shortCircuit] = WireBytes().byte(5).byte(3).bytes();
    for (int row = 0; row < PackItem::paramRows; ++row)
        m_items[quint8(PackItem::paramRowFirst + row)] = defaultRow(row, d);
}

int SettingsStore::storedLength(quint8 item)
{
    if (item >= PackItem::paramRowFirst && item <= PackItem::paramRowLast)
        return paramRowLength;
    for (const StoredItem &s : storedItems)
        if (s.item == item)
            return s.length;
    return -1;
}

QByteArray SettingsStore::read(quint8 item) const
{
    return m_items.value(item);
}

bool SettingsStore::write(quint8 item, const QByteArray &data)
{
    const int length = storedLength(item);
    if (length < 0 || data.size() != length)
        return false;
    m_items[item] = data;
    return true;
}

double SettingsStore::rowScale(int row)
{
    if (row <= 1 || row == 16)
        return 0.001;
    if (row <= 6)
        return 0.01;
    return 0.1;
}

bool SettingsStore::rowSigned(int row)
{
    return row >= 4 && row <= 15;
}

SettingsStore::ParamRow SettingsStore::paramRow(int row) const
{
    const QByteArray d = m_items.value(quint8(PackItem::paramRowFirst + row));
    const double scale = rowScale(row);
    const auto threshold = [&](int i) {
        return (rowSigned(row) ? double(WireBytes::signedWordAt(d, i))
                               : double(WireBytes::wordAt(d, i))) *
               scale;
    };
    ParamRow r;
    r.protection = threshold(0);
    r.recovery = threshold(2);
    r.alarm = threshold(4);
    r.protectionDelayS = WireBytes::wordAt(d, 6) * 0.01;
    r.alarmEnabled = WireBytes::wordAt(d, 8) != 0;
    r.alarmDelayS = WireBytes::wordAt(d, 10) * 0.01;
    r.protectionEnabled = WireBytes::wordAt(d, 12) != 0;
    return r;
}

SettingsStore::PassiveBalancing SettingsStore::passiveBalancing() const
{
    const QByteArray d = m_items.value(PackItem::passiveBalancing);
    return {WireBytes::wordAt(d, 0) != 0, WireBytes::wordAt(d, 2) * 0.001,
            WireBytes::wordAt(d, 4) * 0.001, WireBytes::wordAt(d, 6) * 0.001};
}

SettingsStore::Counts SettingsStore::counts() const
{
    const QByteArray d = m_items.value(PackItem::counts);
    return {WireBytes::wordAt(d, 0), WireBytes::wordAt(d, 2), WireBytes::wordAt(d, 4)};
}

SettingsStore::CurrentLimiting SettingsStore::currentLimiting() const
{
    const QByteArray d = m_items.value(PackItem::currentLimiting);
    return {WireBytes::byteAt(d, 0), WireBytes::byteAt(d, 1) != 0, WireBytes::byteAt(d, 2),
            std::abs(WireBytes::signedWordAt(d, 3) * 0.01), WireBytes::wordAt(d, 5)};
}

SettingsStore::PreDischarge SettingsStore::preDischarge() const
{
    const QByteArray d = m_items.value(PackItem::preDischarge);
    return {WireBytes::byteAt(d, 0), WireBytes::wordAt(d, 1) * 0.01};
}

SettingsStore::ActiveGroup SettingsStore::activeGroup(ActivePhase phase) const
{
    const QByteArray d = m_items.value(PackItem::activeBalancing);
    const int at = int(phase) * 11;
    return {WireBytes::byteAt(d, at) != 0,        WireBytes::wordAt(d, at + 1) * 0.001,
            WireBytes::wordAt(d, at + 3) * 0.001, WireBytes::wordAt(d, at + 5) * 0.001,
            WireBytes::wordAt(d, at + 7) * 0.001, WireBytes::wordAt(d, at + 9)};
}
