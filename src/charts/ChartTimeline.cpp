#include "charts/ChartTimeline.h"

#include <utility>

qint64 ChartTimeline::spanMilliseconds(Span span)
{
    switch (span) {
    case Span::FiveMinutes:
        return 5 * 60 * 1000;
    case Span::OneHour:
        return 60 * 60 * 1000;
    case Span::Day:
        return 24 * 60 * 60 * 1000;
    }
    return 5 * 60 * 1000;
}

void ChartTimeline::setSpan(Span span)
{
    if (m_zoomed) {
        m_pausedEnd = m_zoom.to;
        m_zoomed = false;
    }
    m_span = span;
}

void ChartTimeline::setPaused(bool paused, qint64 latest)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (paused)
        m_pausedEnd = latest;
    else
        m_zoomed = false; // running again follows the newest values
}

void ChartTimeline::zoomTo(qint64 from, qint64 to)
{
    if (from > to)
        std::swap(from, to);
    if (to - from < minimumZoom) {
        const qint64 middle = from + (to - from) / 2;
        from = middle - minimumZoom / 2;
        to = from + minimumZoom;
    }
    if (!m_paused)
        m_pausedEnd = to;
    m_paused = true;
    m_zoomed = true;
    m_zoom = {from, to};
}

void ChartTimeline::zoomIn(qint64 latest)
{
    const Range now = range(latest);
    const qint64 quarter = (now.to - now.from) / 4;
    zoomTo(now.from + quarter, now.to - quarter);
}

void ChartTimeline::reset()
{
    m_paused = false;
    m_zoomed = false;
}

ChartTimeline::Range ChartTimeline::range(qint64 latest) const
{
    if (m_zoomed)
        return m_zoom;
    const qint64 end = m_paused ? m_pausedEnd : latest;
    return {end - spanMilliseconds(m_span), end};
}
