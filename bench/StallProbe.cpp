#include "StallProbe.h"

#include <ctime>

namespace {
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}
} // namespace

StallProbe::StallProbe()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
}

void StallProbe::start()
{
    m_lastWall = m_longestWall = m_longestCpu = m_ticks = 0;
    m_clock.start();
    m_lastCpu = threadCpuNs();
    m_timer.start();
}

void StallProbe::tick()
{
    const qint64 wall = m_clock.nsecsElapsed();
    const qint64 cpu = threadCpuNs();
    m_longestWall = qMax(m_longestWall, wall - m_lastWall);
    m_longestCpu = qMax(m_longestCpu, cpu - m_lastCpu);
    m_lastWall = wall;
    m_lastCpu = cpu;
    ++m_ticks;
    if (m_onTick)
        m_onTick();
}
