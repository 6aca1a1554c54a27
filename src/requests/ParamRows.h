#pragma once

#include <QString>

// The seventeen alarm and protection rows of the "parameters" page, in wire
// order (row r is item 40 + r): what each row is called, the unit its three
// thresholds are entered in, and the status texts of its read and write.
namespace ParamRows {
constexpr int count = 17;

// Row caption in the current language ("Cell_OV" / "单体过压").
QString caption(int row);
// Unit of the alarm, protection and recovery values ("V", "A", "℃", "%").
QString unit(int row);
// What reading or writing the row does, in the current language
// ("Read Cell_OV" / "读取单节过压"); the read text is the one the status line
// shows, some of which end in a blank.
QString readStatusText(int row);
QString writeStatusText(int row);
} // namespace ParamRows
