#include "traffic/TrafficModel.h"

#include "link/LinkTap.h"
#include "traffic/CommandNames.h"

#include <iterator>

TrafficModel::TrafficModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(flushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &TrafficModel::flush);
}

void TrafficModel::attach(LinkTap &tap)
{
    using Kind = TrafficRow::Kind;
    connect(&tap, &LinkTap::portOpened, this,
            [this](qint64 ms, const QString &port, const QString &settings) {
                add({ms, Kind::Opened, {}, port + QLatin1Char(' ') + settings});
            });
    connect(&tap, &LinkTap::frameSent, this, [this](qint64 ms, const QByteArray &frame) {
        add({ms, Kind::Sent, frame});
    });
    connect(&tap, &LinkTap::frameAccepted, this, [this](qint64 ms, const QByteArray &frame) {
        add({ms, Kind::Received, frame});
    });
    connect(&tap, &LinkTap::frameRejected, this, [this](qint64 ms, const QByteArray &frame) {
        add({ms, Kind::Rejected, frame});
    });
    connect(&tap, &LinkTap::bytesDiscarded, this, [this](qint64 ms, const QByteArray &bytes) {
        add({ms, Kind::Discarded, bytes});
    });
}

void TrafficModel::add(TrafficRow row)
{
    if (m_paused) {
        if (m_skipped++ == 0)
            m_firstSkippedMs = row.ms;
        return;
    }
    m_pending.push_back(std::move(row));
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void TrafficModel::flush()
{
    m_flushTimer.stop();
    if (m_pending.empty())
        return;
    // More than the model holds in one batch: only the newest can stay.
    auto first = m_pending.begin();
    if (m_pending.size() > size_t(capacity))
        first += std::ptrdiff_t(m_pending.size() - size_t(capacity));
    const int incoming = int(std::distance(first, m_pending.end()));
    const int overflow = int(m_rows.size()) + incoming - capacity;
    if (overflow > 0) {
        beginRemoveRows({}, 0, overflow - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + overflow);
        endRemoveRows();
    }
    const int start = int(m_rows.size());
    beginInsertRows({}, start, start + incoming - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(first),
                  std::make_move_iterator(m_pending.end()));
    endInsertRows();
    m_pending.clear();
}

void TrafficModel::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    if (paused) {
        // What came before the pause is shown before the view holds still.
        flush();
        m_paused = true;
        m_skipped = 0;
    } else {
        m_paused = false;
        if (m_skipped > 0) {
            TrafficRow note{m_firstSkippedMs, TrafficRow::Kind::Skipped};
            note.count = m_skipped;
            add(std::move(note));
        }
        m_skipped = 0;
    }
    emit pausedChanged(m_paused);
}

void TrafficModel::clear()
{
    m_flushTimer.stop();
    beginResetModel();
    m_rows.clear();
    m_pending.clear();
    endResetModel();
    m_skipped = 0;
}

void TrafficModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

QString TrafficModel::columnTitle(int column)
{
    switch (column) {
    case Time:
        return tr("Time (ms)");
    case Direction:
        return tr("Direction");
    case Address:
        return tr("Address");
    case Operation:
        return tr("Operation");
    case Item:
        return tr("Item");
    case Length:
        return tr("Length");
    case Command:
        return tr("Command");
    case Crc:
        return tr("CRC");
    case Bytes:
        return tr("Bytes");
    }
    return {};
}

QString TrafficModel::cellText(const TrafficRow &row, int column, bool full)
{
    using Kind = TrafficRow::Kind;
    const auto number = [](int value) { return value < 0 ? QString() : QString::number(value); };
    switch (column) {
    case Time:
        return QString::number(row.ms);
    case Direction:
        if (row.kind == Kind::Sent)
            return tr("sent");
        if (row.kind == Kind::Opened || row.kind == Kind::Skipped)
            return {};
        return tr("received");
    case Address:
        return number(row.address());
    case Operation:
        return number(row.operation());
    case Item:
        return number(row.item());
    case Length:
        return number(row.length());
    case Command:
        switch (row.kind) {
        case Kind::Sent:
        case Kind::Received:
        case Kind::Rejected:
            return CommandNames::ofFrame(row.bytes);
        case Kind::Discarded:
            return row.bytes.size() == 1 ? tr("discarded 1 byte")
                                         : tr("discarded %1 bytes").arg(row.bytes.size());
        case Kind::Opened:
            return tr("port opened: %1").arg(row.note);
        case Kind::Skipped:
            return tr("%1 rows not recorded while paused").arg(row.count);
        }
        return {};
    case Crc:
        if (!row.isFrame())
            return {};
        return row.crcOk() ? tr("ok") : tr("bad");
    case Bytes:
        return row.hex(full ? -1 : shownBytes);
    }
    return {};
}

int TrafficModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TrafficModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const TrafficRow &r = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(r, index.column());
    case FullTextRole:
        return cellText(r, index.column(), true);
    case Qt::ToolTipRole:
        if (index.column() == Bytes && r.bytes.size() > shownBytes)
            return r.hex(1024);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() <= Length && index.column() != Direction)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case KindRole:
        return int(r.kind);
    case ItemRole:
        return r.item();
    }
    return {};
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return columnTitle(section);
}
