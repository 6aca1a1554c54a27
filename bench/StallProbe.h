#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// The stall programs' yardstick: a 1 ms timer on the event loop under test.
// The longest gap between two of its ticks is how long the loop was held up,
// in wall time and in the CPU time of this thread. The second is what the
// program itself costs; the first adds whatever the machine's other work
// takes from it.
class StallProbe {
public:
    StallProbe();

    // Called after every tick, e.g. to end the loop once a job is done.
    void setOnTick(std::function<void()> onTick) { m_onTick = std::move(onTick); }
    void start();
    void stop() { m_timer.stop(); }

    double longestWallMs() const { return m_longestWall / 1e6; }
    double longestCpuMs() const { return m_longestCpu / 1e6; }
    qint64 ticks() const { return m_ticks; }
    double elapsedSeconds() const { return m_clock.nsecsElapsed() / 1e9; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastWall = 0, m_lastCpu = 0, m_longestWall = 0, m_longestCpu = 0, m_ticks = 0;
    std::function<void()> m_onTick;
};
