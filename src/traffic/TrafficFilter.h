#pragma once

#include <QSortFilterProxyModel>

// Which of the console's rows are shown: by direction, and by item byte. Notes
// about the line itself (port opened, rows missed while paused) stay in view
// whatever the filter, since the times of the rows after them start anew.
class TrafficFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Direction {
        All,
        Sent,
        Received, // accepted and rejected frames and discarded bytes
        Faults,   // rejected frames and discarded bytes only
    };
    static constexpr int allItems = -1;

    explicit TrafficFilter(QObject *parent = nullptr);

    Direction direction() const { return m_direction; }
    void setDirection(Direction direction);
    int item() const { return m_item; }
    // allItems, or the one item byte whose frames are shown.
    void setItem(int item);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    Direction m_direction = Direction::All;
    int m_item = allItems;
};
