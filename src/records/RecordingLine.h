#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Form;

// One line of a live recording: what the information page shows at one
// moment, as 95 fields each followed by a full-width semicolon. The converter
// reads the same layout back, so the column of every value is fixed here.
namespace RecordingLine {

inline const QString separator = QStringLiteral("\uFF1B"); // "；"
constexpr int fieldCount = 95;
constexpr int firstCellField = 51;        // cell 1 .. 32
constexpr int firstTemperatureField = 83; // sensor 1 .. 12
constexpr int cellCountField = 9;
constexpr int sensorCountField = 10;

// The information page controls of fields 2 to 50, in field order.
const QStringList &infoFields();

// A cell box's text in volts: a number of millivolts becomes a plain decimal
// number of volts (3301 -> 3.301); anything else ("null", "无", "") is kept.
QString cellVolts(const QString &millivolts);

// The line without its line end. No line break survives inside it, so every
// record stays on one line of the file.
QString compose(const Form &info, int lineNumber, const QDateTime &moment);

} // namespace RecordingLine
