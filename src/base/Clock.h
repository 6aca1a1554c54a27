#pragma once

#include <QDateTime>

#include <functional>

// The program's wall clock. Every time stamp a file name, a status line or a
// record carries comes from here, so that a test can set the time once for
// all of them.
namespace Clock {
QDateTime now();
void set(std::function<QDateTime()> clock); // {} restores the system clock
} // namespace Clock
