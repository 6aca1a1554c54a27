#include "charts/PackHistory.h"

#include <algorithm>
#include <cmath>

namespace {
qint64 secondOf(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}
} // namespace

bool PackHistory::append(qint64 time, const ChartSample::Values &values)
{
    if (!m_points.empty() && time < m_points.back().time)
        return false;
    Point p{time, {}};
    for (int i = 0; i < ChartSeries::Count; ++i)
        p.values[std::size_t(i)] = float(values[std::size_t(i)]);
    if (!m_points.empty() && secondOf(m_points.back().time) == secondOf(time)) {
        // The same second: the newer values win, the older fill what it lacks.
        Point &last = m_points.back();
        for (int i = 0; i < ChartSeries::Count; ++i)
            if (std::isnan(p.values[std::size_t(i)]))
                p.values[std::size_t(i)] = last.values[std::size_t(i)];
        last = p;
        return true;
    }
    m_points.push_back(p);
    while (m_points.size() > std::size_t(capacity) ||
           m_points.front().time <= time - keptMilliseconds) {
        m_points.pop_front();
        ++m_dropped;
    }
    return true;
}

QList<QPointF> PackHistory::thinned(int series, qint64 from, qint64 to, int columns) const
{
    QList<QPointF> out;
    if (series < 0 || series >= ChartSeries::Count || to < from || m_points.empty())
        return out;
    columns = std::max(columns, 1);
    const auto byTime = [](const Point &p, qint64 t) { return p.time < t; };
    auto it = std::lower_bound(m_points.cbegin(), m_points.cend(), from, byTime);
    const auto end = std::upper_bound(m_points.cbegin(), m_points.cend(), to,
                                      [](qint64 t, const Point &p) { return t < p.time; });
    const double width = std::max(1.0, double(to - from)) / columns;
    const std::size_t s = std::size_t(series);

    int bucket = -1;
    const Point *first = nullptr;
    const Point *last = nullptr;
    const Point *low = nullptr;
    const Point *high = nullptr;
    const auto flush = [&] {
        if (!first)
            return;
        std::array<const Point *, 4> picked{first, low, high, last};
        std::sort(picked.begin(), picked.end(),
                  [](const Point *a, const Point *b) { return a->time < b->time; });
        const Point *previous = nullptr;
        for (const Point *p : picked) {
            if (p != previous)
                out.append(QPointF(double(p->time), p->values[s]));
            previous = p;
        }
    };
    for (; it != end; ++it) {
        const float v = it->values[s];
        if (std::isnan(v))
            continue;
        const int b = std::min(columns - 1, int(double(it->time - from) / width));
        if (b != bucket) {
            flush();
            bucket = b;
            first = last = low = high = &*it;
            continue;
        }
        last = &*it;
        if (v < low->values[s])
            low = &*it;
        else if (v > high->values[s])
            high = &*it;
    }
    flush();
    return out;
}
