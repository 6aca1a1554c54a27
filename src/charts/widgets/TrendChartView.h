#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>
#include <QString>

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

// One trend chart: lines over a time axis, the value axis fitted to what is
// shown. Dragging across the plot picks a stretch of time; the chart reports
// it and leaves showing it to its owner, which keeps every chart on the same
// stretch.
class TrendChartView : public QChartView {
    Q_OBJECT
public:
    struct Line {
        QString name;
        QList<QPointF> points; // x: ms since the epoch
    };

    explicit TrendChartView(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    void setLines(const QList<Line> &lines, qint64 from, qint64 to);
    int plotWidth() const;
    int lineCount() const { return int(m_series.size()); }
    // The points each line shows now (tests, the accessible description).
    QList<QPointF> linePoints(int line) const;

signals:
    void rangeSelected(qint64 from, qint64 to);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fitValueAxis(const QList<Line> &lines);

    QDateTimeAxis *m_time = nullptr;
    QValueAxis *m_value = nullptr;
    QList<QLineSeries *> m_series;
};
