#pragma once

#include "charts/ChartSample.h"

#include <QList>
#include <QPointF>
#include <QtGlobal>

#include <deque>

// The trend values of one pack, oldest first, at most one point per second
// and at most a day of them: a second sample within the same second replaces
// the first, and points older than a day before the newest, or beyond the
// count of a day's seconds, are dropped. So memory stays bounded however
// long the program runs or however fast the samples come.
class PackHistory {
public:
    static constexpr int capacity = 24 * 60 * 60;
    static constexpr qint64 keptMilliseconds = qint64(capacity) * 1000;

    struct Point {
        qint64 time; // ms since the epoch
        std::array<float, ChartSeries::Count> values;
    };

    // False (and nothing kept) for a sample older than the newest point: the
    // points stay in time order, which drawing and searching rely on.
    bool append(qint64 time, const ChartSample::Values &values);

    int size() const { return int(m_points.size()); }
    bool isEmpty() const { return m_points.empty(); }
    const Point &at(int i) const { return m_points[std::size_t(i)]; }
    qint64 firstTime() const { return isEmpty() ? 0 : m_points.front().time; }
    qint64 lastTime() const { return isEmpty() ? 0 : m_points.back().time; }
    // Points pushed out by the bounds since the start.
    qint64 dropped() const { return m_dropped; }

    // The points of `series` between `from` and `to` (inclusive) for a plot
    // `columns` pixels wide: per column at most its first, lowest, highest and
    // last point, in time order, so that the drawn line looks as it would
    // with every point and spikes survive however many points a column
    // covers. Missing values are left out.
    QList<QPointF> thinned(int series, qint64 from, qint64 to, int columns) const;

private:
    std::deque<Point> m_points;
    qint64 m_dropped = 0;
};
