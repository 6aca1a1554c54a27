#pragma once

#include <QString>

// The messages that end an exchange, in the current language. English repeats
// itself ("Write succeeded" for a dozen different writes); Chinese names what
// was written, so every index has its own translation.
namespace ResultMessages {
constexpr int resultCount = 39; // 0..38
constexpr int moduleCount = 6;  // 0..5

// 0 "Read succeeded", 1 "Successfully read all", 2 "Write succeeded" (one
// parameter row), 3 "Successfully set all", 4 "Control succeeded", 5..36 the
// short-circuit, identity and system items, 37 "Export succeeded",
// 38 "Read Complete".
QString result(int index);
// Energy-storage module, pre-discharge and active balancing: read, write.
QString module(int index);
} // namespace ResultMessages
