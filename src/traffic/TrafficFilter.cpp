#include "traffic/TrafficFilter.h"

#include "traffic/TrafficModel.h"

TrafficFilter::TrafficFilter(QObject *parent) : QSortFilterProxyModel(parent) {}

void TrafficFilter::setDirection(Direction direction)
{
    if (direction == m_direction)
        return;
    m_direction = direction;
    invalidateRowsFilter();
}

void TrafficFilter::setItem(int item)
{
    if (item == m_item)
        return;
    m_item = item;
    invalidateRowsFilter();
}

bool TrafficFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const auto *model = qobject_cast<const TrafficModel *>(sourceModel());
    if (!model)
        return true;
    using Kind = TrafficRow::Kind;
    const TrafficRow &row = model->row(sourceRow);
    if (row.kind == Kind::Opened || row.kind == Kind::Skipped)
        return true;
    switch (m_direction) {
    case Direction::All:
        break;
    case Direction::Sent:
        if (row.kind != Kind::Sent)
            return false;
        break;
    case Direction::Received:
        if (row.kind == Kind::Sent)
            return false;
        break;
    case Direction::Faults:
        if (row.kind != Kind::Rejected && row.kind != Kind::Discarded)
            return false;
        break;
    }
    return m_item == allItems || row.item() == m_item;
}
