#include "base/Clock.h"

namespace {
std::function<QDateTime()> g_clock;
}

namespace Clock {

QDateTime now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

void set(std::function<QDateTime()> clock)
{
    g_clock = std::move(clock);
}

} // namespace Clock
