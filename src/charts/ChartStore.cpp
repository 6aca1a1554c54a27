#include "charts/ChartStore.h"

#include <algorithm>

ChartStore::ChartStore(QObject *parent) : QObject(parent) {}

bool ChartStore::addSample(int address, qint64 msecsSinceEpoch, const ChartSample &sample)
{
    const bool isNew = !hasPack(address);
    Pack &pack = m_packs[address];
    bool kept = false;
    if (sample.hasValues())
        kept = pack.history.append(msecsSinceEpoch, sample.values);
    if (!sample.cells.isEmpty() && msecsSinceEpoch >= pack.cellsTime) {
        pack.cells = sample.cells;
        pack.cellsTime = msecsSinceEpoch;
        kept = true;
    }
    if (!kept) {
        if (isNew)
            m_packs.erase(address);
        return false;
    }
    if (isNew)
        emit packsChanged();
    emit sampleAdded(address);
    return true;
}

QList<int> ChartStore::addresses() const
{
    QList<int> list;
    for (const auto &[address, pack] : m_packs)
        list.append(address);
    return list;
}

const PackHistory *ChartStore::history(int address) const
{
    const auto it = m_packs.find(address);
    return it == m_packs.end() ? nullptr : &it->second.history;
}

CellSnapshot ChartStore::cells(int address) const
{
    const auto it = m_packs.find(address);
    return it == m_packs.end() ? CellSnapshot{} : it->second.cells;
}

qint64 ChartStore::cellsTime(int address) const
{
    const auto it = m_packs.find(address);
    return it == m_packs.end() ? 0 : it->second.cellsTime;
}

qint64 ChartStore::latestTime() const
{
    qint64 latest = 0;
    for (const auto &[address, pack] : m_packs)
        latest = std::max({latest, pack.history.lastTime(), pack.cellsTime});
    return latest;
}

qint64 ChartStore::earliestTime() const
{
    qint64 earliest = 0;
    for (const auto &[address, pack] : m_packs)
        if (!pack.history.isEmpty() && (earliest == 0 || pack.history.firstTime() < earliest))
            earliest = pack.history.firstTime();
    return earliest;
}

void ChartStore::clear()
{
    m_packs.clear();
    emit packsChanged();
}

void ChartStore::takeFrom(ChartStore &other)
{
    m_packs = std::move(other.m_packs);
    other.m_packs.clear();
    emit packsChanged();
}
