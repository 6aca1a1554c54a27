#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The text of one history record as the grid and the workbook show it: the
// reply frame's fields at their byte positions (data from byte 7), numbers in
// the display form of the live values, status bits as the names of the set
// bits in the current language.
namespace StoredRecordText {

constexpr int columnCount = 20;
constexpr int recordNumberAt = 9;
constexpr int countAt = 9; // count reply: record count in bytes 9, 10

// Storage time from bytes 13..18: "2024-05-07 09:03:00".
QString storageTime(const QByteArray &frame);
// Names of the set bits, each followed by one space.
QString alarms(const QByteArray &frame);
QString protections(const QByteArray &frame);
QString faults(const QByteArray &frame);
QString systemState(const QByteArray &frame);

// The 20 column texts of a record reply. A frame too short for the layout
// throws FrameError, which abandons it.
QStringList columns(const QByteArray &frame);
// The stored line: every column followed by one tab.
QString rowText(const QStringList &columns);

} // namespace StoredRecordText
