#include "charts/widgets/TrendChartView.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

#include <cmath>

// Made with its chart: a chart set later would leave the view's own behind.
TrendChartView::TrendChartView(QWidget *parent) : QChartView(new QChart, parent)
{
    QChart *c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    c->legend()->setAlignment(Qt::AlignTop);
    m_time = new QDateTimeAxis(c);
    m_value = new QValueAxis(c);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_value, Qt::AlignLeft);
    // Without antialiasing: a day of points redrawn every second costs a
    // fraction as much, and a line one pixel wide looks the same.
    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::HorizontalRubberBand);
    setFocusPolicy(Qt::NoFocus); // the window's buttons do by keyboard what dragging does
    setMinimumHeight(140);
}

void TrendChartView::setTitle(const QString &title)
{
    chart()->setTitle(title);
    setAccessibleName(title);
}

int TrendChartView::plotWidth() const
{
    const int w = int(chart()->plotArea().width());
    return w > 10 ? w : qMax(100, width() - 80);
}

QList<QPointF> TrendChartView::linePoints(int line) const
{
    return line >= 0 && line < m_series.size() ? m_series[line]->points() : QList<QPointF>{};
}

void TrendChartView::setLines(const QList<Line> &lines, qint64 from, qint64 to)
{
    QChart *c = chart();
    while (m_series.size() > lines.size()) {
        QLineSeries *s = m_series.takeLast();
        c->removeSeries(s);
        delete s;
    }
    while (m_series.size() < lines.size()) {
        auto *s = new QLineSeries(c);
        c->addSeries(s);
        s->attachAxis(m_time);
        s->attachAxis(m_value);
        m_series.append(s);
    }
    // One line needs no legend: the title names it.
    c->legend()->setVisible(lines.size() > 1);
    for (int i = 0; i < lines.size(); ++i) {
        m_series[i]->setName(lines[i].name);
        m_series[i]->replace(lines[i].points);
    }
    const qint64 span = to - from;
    m_time->setFormat(span > 6 * 3600 * 1000LL  ? QStringLiteral("MM-dd hh:mm")
                      : span > 10 * 60 * 1000LL ? QStringLiteral("hh:mm")
                                                : QStringLiteral("hh:mm:ss"));
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(to));
    fitValueAxis(lines);

    // What a screen reader says about the chart: the newest value of each line.
    QStringList latest;
    for (const Line &l : lines)
        if (!l.points.isEmpty())
            latest << QStringLiteral("%1 %2").arg(l.name).arg(l.points.last().y(), 0, 'g', 6);
    setAccessibleDescription(latest.join(QStringLiteral("; ")));
}

void TrendChartView::fitValueAxis(const QList<Line> &lines)
{
    double low = INFINITY, high = -INFINITY;
    for (const Line &l : lines)
        for (const QPointF &p : l.points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    if (!std::isfinite(low)) {
        low = 0;
        high = 1;
    }
    // A flat line sits in the middle of a small band rather than on an edge.
    if (high - low < 1e-9) {
        const double pad = std::max(std::abs(high) * 0.01, 0.5);
        low -= pad;
        high += pad;
    }
    // Three or four round steps (1, 2 or 5 times a power of ten): a small
    // chart has room for no more labels than that.
    const double raw = (high - low) / 3;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double step = raw / power <= 1   ? power
                        : raw / power <= 2 ? 2 * power
                        : raw / power <= 5 ? 5 * power
                                           : 10 * power;
    m_value->setTickType(QValueAxis::TicksDynamic);
    m_value->setTickAnchor(0);
    m_value->setTickInterval(step);
    m_value->setRange(std::floor(low / step) * step, std::ceil(high / step) * step);
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    m_value->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

void TrendChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        // The chart's own zoom-out would leave this chart alone on another stretch.
        event->accept();
        return;
    }
    const QDateTime before = m_time->min();
    const QDateTime beforeEnd = m_time->max();
    QChartView::mouseReleaseEvent(event);
    if (m_time->min() != before || m_time->max() != beforeEnd)
        emit rangeSelected(m_time->min().toMSecsSinceEpoch(), m_time->max().toMSecsSinceEpoch());
}
