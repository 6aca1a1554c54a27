#pragma once

#include <QtGlobal>

// Which stretch of time the trends show. Following live, the chosen span ends
// at the newest moment; paused, it stays where it was while samples go on
// being collected; zoomed, it is the stretch the user picked (which also
// pauses). Reset returns to following.
class ChartTimeline {
public:
    enum class Span { FiveMinutes, OneHour, Day };
    static constexpr int spanCount = 3;
    // The narrowest stretch a zoom goes down to.
    static constexpr qint64 minimumZoom = 10 * 1000;

    struct Range {
        qint64 from = 0;
        qint64 to = 0;
        bool operator==(const Range &) const = default;
    };

    static qint64 spanMilliseconds(Span span);

    Span span() const { return m_span; }
    // Leaves a zoom; a paused view keeps its end.
    void setSpan(Span span);

    bool isPaused() const { return m_paused; }
    // `latest` is the moment the view ends at when it is paused now.
    void setPaused(bool paused, qint64 latest);

    bool isZoomed() const { return m_zoomed; }
    // Shows from..to (in either order), widened to the minimum around its middle.
    void zoomTo(qint64 from, qint64 to);
    // The middle half of what is shown now.
    void zoomIn(qint64 latest);
    void reset();

    Range range(qint64 latest) const;

private:
    Span m_span = Span::FiveMinutes;
    bool m_paused = false;
    qint64 m_pausedEnd = 0;
    bool m_zoomed = false;
    Range m_zoom;
};
