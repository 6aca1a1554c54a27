#pragma once

#include <QString>
#include <QtGlobal>

// Names of the pack's alarm, protection and fault bits and the words of its
// state indicators, in the current language. Bit i of the alarm and of the
// protection field is condition i (0 Cell_OV ... 16 Cell_DIFV), the same
// numbering as the parameter rows.
namespace StatusNames {
constexpr int conditionCount = 17;
constexpr int faultCount = 16;

QString conditionName(int bit); // 0..16
QString faultName(int bit);     // 0..15; 5..15 read "Reserved<n>"

// The active conditions, one per line, each line ended by CR LF; "" when none
// is active. Alarm and protection: bit 16 first, then 0..15; bits 17..31 have
// no name and are not listed.
QString conditionLines(quint32 bits);
// Fault bits 8..15 first (the high byte on the wire), then 0..7.
QString faultLines(quint16 bits);

QString none();                                            // "null": a value the pack does not have
QString connectionText(bool connected);                    // switches, charger, load
QString switchText(bool on);                               // MOS, heating, GPS, balancing, limiting
QString yesNoText(bool yes);                               // forced-off flags
QString workingStateText(bool charging, bool discharging); // discharge wins
} // namespace StatusNames
