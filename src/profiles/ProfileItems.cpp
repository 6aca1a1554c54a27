#include "profiles/ProfileItems.h"

#include "requests/ParamForm.h"
#include "requests/ParamRows.h"
#include "requests/RequestTable.h"
#include "requests/SystemForm.h"

#include <QHash>

namespace {

using Kind = ProfileItem::Kind;
using Page = ProfileItem::Page;

// Row keys in wire order (row r is item 40 + r).
const char *const rowKeys[ParamRows::count] = {
    "cell_ov",   "cell_uv",        "total_ov",       "total_uv",  "discharge_oc1", "discharge_oc2",
    "charge_oc", "charge_ot",      "discharge_ot",   "charge_ut", "discharge_ut",  "mos_ot",
    "soc_uc",    "environment_ot", "environment_ut", "cell_dift", "cell_difv"};

struct Column {
    const char *key;
    int offset; // CS(5r + offset) for values, FX(2r + offset) for flags
    bool flag;
    bool delay;
};

// The seven columns of a row, in the page's order.
const Column rowColumns[] = {
    {"alarm_enable", 0, true, false},      {"alarm_value", 0, false, false},
    {"alarm_delay", 1, false, true},       {"protection_enable", 1, true, false},
    {"protection_value", 2, false, false}, {"recovery_value", 3, false, false},
    {"protection_delay", 4, false, true},
};

struct SystemItem {
    QString key;
    QString control;
    Kind kind;
    const char *unit;
};

QList<SystemItem> identityItems()
{
    using namespace SystemField;
    return {
        {"project_number", projectNumber, Kind::Text, ""},
        {"battery_id", batteryId, Kind::Text, ""},
        {"production_date", productionDate, Kind::Date, ""},
        {"shipping_date", shippingDate, Kind::Date, ""},
        {"batch", batch, Kind::Text, ""},
    };
}

// Grouped as the system page groups them. The BMS clock is left out: its write
// sends the PC's clock, not a stored value. So are the three calibrations: zero
// calibration is a command without data, and the charge and discharge reads
// return a coefficient where the writes take a current, so a value read from
// one pack is not a value to write to another.
QList<SystemItem> systemItems()
{
    using namespace SystemField;
    QList<SystemItem> items = {
        {"product.model", model, Kind::Text, ""},
        {"product.custom", customText, Kind::Text, ""},
        {"product.ip", ip, Kind::Text, ""},
        {"product.port", ipPort, Kind::Text, ""},
        {"passive_balancing.enable", balanceEnable, Kind::Flag, ""},
        {"passive_balancing.open_voltage", balanceOpen, Kind::Number, "V"},
        {"passive_balancing.diff_voltage", balanceDiff, Kind::Number, "V"},
        {"passive_balancing.close_voltage", balanceClose, Kind::Number, "V"},
        {"counts.cells", cellNumber, Kind::Number, ""},
        {"counts.low_cells", lowCellNumber, Kind::Number, ""},
        {"counts.ntc", ntcNumber, Kind::Number, ""},
        {"capacity.soc", soc, Kind::Number, "%"},
        {"capacity.cycles", cycles, Kind::Number, ""},
        {"capacity.standard_capacity", standardCapacity, Kind::Number, "AH"},
        {"capacity.full_capacity", fullCapacity, Kind::Number, "AH"},
        {"capacity.attenuation_cycles", attenuationCycles, Kind::Number, ""},
        {"calibration.sampling_resistor", samplingResistor, Kind::Number, "mR"},
        {"serial.usart", usart, Kind::Number, ""},
        {"serial.baud", baud, Kind::Number, ""},
        {"serial.parity", parity, Kind::Choice, ""},
        {"charging_handshake.mode", handshake, Kind::Choice, ""},
        {"custom_selection.mode", customSelection, Kind::Choice, ""},
        {"energy_storage.address", moduleAddress, Kind::Number, ""},
        {"energy_storage.limit_mode", limitMode, Kind::Number, ""},
        {"energy_storage.limit_enable", limitEnable, Kind::Flag, ""},
        {"energy_storage.limit_threshold", limitThreshold, Kind::Number, "A"},
        {"energy_storage.limit_time", limitTime, Kind::Number, "S"},
        {"pre_discharge.mode", preDischarge, Kind::Choice, ""},
        {"pre_discharge.switch_time", preDischargeTime, Kind::Number, "S"},
    };
    static const char *const groups[3] = {"active_balancing_charge", "active_balancing_discharge",
                                          "active_balancing_idle"};
    static const char *const columns[5] = {"open_voltage", "close_voltage", "open_diff",
                                           "close_diff", "time"};
    for (int g = 0; g < 3; ++g) {
        const QString group = QLatin1String(groups[g]) + QLatin1Char('.');
        items.append({group + QLatin1String("enable"), activeEnable(g), Kind::Flag, ""});
        for (int c = 0; c < 5; ++c)
            items.append({group + QLatin1String(columns[c]), activeValue(g, c), Kind::Number,
                          c < 4 ? "V" : "S"});
    }
    return items;
}

void attachWrite(ProfileItem &item)
{
    Form AppState::*page = item.page == Page::Param ? &AppState::param : &AppState::system;
    for (const RequestSpec &spec : RequestTable::all()) {
        if (spec.operation == 0 || spec.page != page)
            continue;
        for (const RequestField &f : spec.fields) {
            if (f.control == item.control) {
                item.write = &spec;
                item.field = &f;
                return;
            }
        }
    }
}

QList<ProfileItem> build()
{
    QList<ProfileItem> list;
    auto add = [&list](const QString &key, Page page, const QString &control, Kind kind,
                       const QString &unit) {
        ProfileItem item{key, page, control, kind, unit};
        attachWrite(item);
        list.append(item);
    };
    for (const SystemItem &s : identityItems())
        add(ProfileItems::identitySection + QLatin1Char('.') + s.key, Page::System, s.control,
            s.kind, QString::fromUtf8(s.unit));
    for (int r = 0; r < ParamRows::count; ++r) {
        for (const Column &c : rowColumns) {
            const QString key = ProfileItems::parameterSection + QLatin1Char('.') +
                                QLatin1String(rowKeys[r]) + QLatin1Char('.') + QLatin1String(c.key);
            if (c.flag)
                add(key, Page::Param, ParamField::fx(2 * r + c.offset), Kind::Flag, {});
            else
                add(key, Page::Param, ParamField::cs(5 * r + c.offset), Kind::Number,
                    c.delay ? QStringLiteral("S") : ParamRows::unit(r));
        }
    }
    add(ProfileItems::parameterSection + QStringLiteral(".short_circuit.voltage_level"),
        Page::Param, ParamField::shortVoltageLevel, Kind::Number, {});
    add(ProfileItems::parameterSection + QStringLiteral(".short_circuit.delay_level"), Page::Param,
        ParamField::shortDelayLevel, Kind::Number, {});
    for (const SystemItem &s : systemItems())
        add(ProfileItems::systemSection + QLatin1Char('.') + s.key, Page::System, s.control, s.kind,
            QString::fromUtf8(s.unit));
    return list;
}

} // namespace

namespace ProfileItems {

const QList<ProfileItem> &all()
{
    static const QList<ProfileItem> items = build();
    return items;
}

const ProfileItem *find(const QString &key)
{
    static const QHash<QString, const ProfileItem *> index = [] {
        QHash<QString, const ProfileItem *> h;
        for (const ProfileItem &item : all())
            h.insert(item.key, &item);
        return h;
    }();
    return index.value(key, nullptr);
}

QString rowKey(int row)
{
    return row >= 0 && row < ParamRows::count ? QString::fromLatin1(rowKeys[row]) : QString();
}

} // namespace ProfileItems
