#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class Form;

// One pack's values after a polling cycle as a JSON object: what the
// information page shows, in physical units. The same object is printed by
// `info --json` and `watch --json` and published as a pack's state message,
// so its keys are a stable interface: a consumer (Home Assistant discovery
// included) may rely on them.
//
// A value the pack did not report ("null" on the page, an empty box) is
// JSON null. Alarm, protection and fault names are in the language of the
// run.
namespace PackJson {

namespace Key {
inline const QString address = QStringLiteral("address");
inline const QString batteryId = QStringLiteral("battery_id");
inline const QString totalVoltage = QStringLiteral("total_voltage");      // V
inline const QString current = QStringLiteral("current");                 // A, charge positive
inline const QString soc = QStringLiteral("soc");                         // %
inline const QString soh = QStringLiteral("soh");                         // %
inline const QString cellMaxVoltage = QStringLiteral("cell_max_voltage"); // V
inline const QString cellMaxIndex = QStringLiteral("cell_max_index");
inline const QString cellMinVoltage = QStringLiteral("cell_min_voltage"); // V
inline const QString cellMinIndex = QStringLiteral("cell_min_index");
inline const QString cellDiff = QStringLiteral("cell_diff");         // mV
inline const QString tempMax = QStringLiteral("temp_max");           // °C
inline const QString tempMin = QStringLiteral("temp_min");           // °C
inline const QString chargeMos = QStringLiteral("charge_mos");       // bool
inline const QString dischargeMos = QStringLiteral("discharge_mos"); // bool
inline const QString alarms = QStringLiteral("alarms");              // texts
inline const QString protections = QStringLiteral("protections");    // texts
inline const QString faults = QStringLiteral("faults");              // texts
inline const QString cells = QStringLiteral("cells");                // V each
inline const QString temperatures = QStringLiteral("temperatures");  // °C each
inline const QString projectNumber = QStringLiteral("project_number");
inline const QString model = QStringLiteral("model");
inline const QString softwareVersion = QStringLiteral("software_version");
inline const QString hardwareVersion = QStringLiteral("hardware_version");
inline const QString cycleCount = QStringLiteral("cycle_count");
inline const QString fullCapacity = QStringLiteral("full_capacity"); // Ah
} // namespace Key

// The keys in the order of state(), for consumers that list them.
QStringList keys();
QJsonObject state(int address, const Form &info);

} // namespace PackJson
