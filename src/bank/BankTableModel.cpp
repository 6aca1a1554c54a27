#include "bank/BankTableModel.h"

#include "bank/BankPack.h"
#include "bank/BankPoller.h"

#include <QCoreApplication>

#include <limits>

namespace {
using V = BankPack::Value;
using Model = BankTableModel;

// Which named conditions (alarm and protection bit i) belong to which cell;
// the conditions column shows them all.
constexpr quint32 bit(int i)
{
    return 1u << i;
}
struct ColumnConditions {
    int column;
    quint32 bits;
};
constexpr ColumnConditions columnConditions[] = {
    {Model::Voltage, bit(2) | bit(3)},
    {Model::Current, bit(4) | bit(5) | bit(6)},
    {Model::Soc, bit(12)},
    {Model::MaxCell, bit(0)},
    {Model::MinCell, bit(1)},
    {Model::CellDifference, bit(16)},
    {Model::MaxTemperature, bit(7) | bit(8) | bit(15)},
    {Model::MinTemperature, bit(9) | bit(10) | bit(15)},
    {Model::Mos, bit(11)},
    {Model::Conditions, (1u << 17) - 1},
};

quint32 conditionsOf(int column)
{
    for (const ColumnConditions &c : columnConditions)
        if (c.column == column)
            return c.bits;
    return 0;
}

// The value behind a column that shows one value.
int valueOf(int column)
{
    switch (column) {
    case Model::Voltage:
        return int(V::TotalVoltage);
    case Model::Current:
        return int(V::Current);
    case Model::Soc:
        return int(V::Soc);
    case Model::Soh:
        return int(V::Soh);
    case Model::MaxCell:
        return int(V::MaxCellVoltage);
    case Model::MinCell:
        return int(V::MinCellVoltage);
    case Model::CellDifference:
        return int(V::CellDifference);
    case Model::MaxTemperature:
        return int(V::MaxTemperature);
    case Model::MinTemperature:
        return int(V::MinTemperature);
    default:
        return -1;
    }
}
} // namespace

BankTableModel::BankTableModel(const BankPoller &poller, std::function<qint64()> clock,
                               QObject *parent)
    : QAbstractTableModel(parent), m_poller(poller), m_clock(std::move(clock))
{
}

int BankTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_poller.packs().size());
}

int BankTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString BankTableModel::columnTitle(int column)
{
    static const char *const titles[ColumnCount] = {
        QT_TRANSLATE_NOOP("BankTableModel", "Address"),
        QT_TRANSLATE_NOOP("BankTableModel", "State"),
        QT_TRANSLATE_NOOP("BankTableModel", "Battery ID"),
        QT_TRANSLATE_NOOP("BankTableModel", "Voltage\n(V)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Current\n(A)"),
        QT_TRANSLATE_NOOP("BankTableModel", "SOC\n(%)"),
        QT_TRANSLATE_NOOP("BankTableModel", "SOH\n(%)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Max cell\n(V) (No.)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Min cell\n(V) (No.)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Cell diff.\n(V)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Max T\n(℃)"),
        QT_TRANSLATE_NOOP("BankTableModel", "Min T\n(℃)"),
        QT_TRANSLATE_NOOP("BankTableModel", "MOS"),
        QT_TRANSLATE_NOOP("BankTableModel", "Alarm / protection / fault"),
        QT_TRANSLATE_NOOP("BankTableModel", "Age\n(s)"),
    };
    return column >= 0 && column < ColumnCount ? tr(titles[column]) : QString();
}

QString BankTableModel::ageText(const BankPack &pack, qint64 nowMs)
{
    if (pack.updatedMs < 0)
        return QStringLiteral("—");
    return QString::number(std::max<qint64>(0, nowMs - pack.updatedMs) / 1000);
}

QString BankTableModel::cellText(const BankPack &p, int column, qint64 nowMs)
{
    switch (column) {
    case Address:
        return QString::number(p.address);
    case BatteryId:
        return p.batteryId;
    case State:
        if (!p.online)
            return tr("offline");
        return p.hasLive ? tr("online") : tr("waiting");
    case Age:
        return ageText(p, nowMs);
    default:
        break;
    }
    if (!p.hasLive)
        return {};
    switch (column) {
    case MaxCell:
        return tr("%1 (#%2)").arg(p.text(V::MaxCellVoltage), p.text(V::MaxCellNo));
    case MinCell:
        return tr("%1 (#%2)").arg(p.text(V::MinCellVoltage), p.text(V::MinCellNo));
    case Mos:
        return p.mosText();
    case Conditions:
        return p.conditionSummary();
    default:
        return p.texts[std::size_t(valueOf(column))];
    }
}

int BankTableModel::severity(const BankPack &p, int column)
{
    if (!p.online && (column == State || column == Age))
        return Stale;
    if (!p.hasLive)
        return Normal;
    const quint32 bits = conditionsOf(column);
    if ((p.protections & bits) || (column == Conditions && p.inFault()))
        return Protection;
    if (p.alarms & bits)
        return Alarm;
    return Normal;
}

QVariant BankTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const BankPack &p = m_poller.packs()[index.row()];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(p, column, m_clock());
    case SortRole:
        if (column == Address)
            return p.address;
        if (column == Age)
            return p.updatedMs < 0 ? std::numeric_limits<qint64>::max() : m_clock() - p.updatedMs;
        if (column == State)
            return p.online ? (p.hasLive ? 0 : 1) : 2;
        if (valueOf(column) >= 0)
            return p.hasLive ? QVariant(p.numbers[std::size_t(valueOf(column))]) : QVariant();
        return cellText(p, column, m_clock());
    case Qt::ToolTipRole:
        return column == Conditions || column == BatteryId ? cellText(p, column, m_clock())
                                                           : QVariant();
    case SeverityRole:
        return severity(p, column);
    case AddressRole:
        return p.address;
    case Qt::TextAlignmentRole:
        return column == BatteryId || column == Conditions || column == Mos
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::AccessibleDescriptionRole:
        switch (severity(p, column)) {
        case Alarm:
            return tr("in alarm");
        case Protection:
            return tr("in protection");
        case Stale:
            return tr("no answer");
        default:
            return {};
        }
    default:
        return {};
    }
}

QVariant BankTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columnTitle(section);
    return {};
}

void BankTableModel::packChanged(int address)
{
    const QList<BankPack> &packs = m_poller.packs();
    for (int row = 0; row < packs.size(); ++row)
        if (packs[row].address == address)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void BankTableModel::refreshAges()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, Age), index(rowCount() - 1, Age));
}

void BankTableModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}
