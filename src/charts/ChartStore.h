#pragma once

#include "charts/CellSnapshot.h"
#include "charts/ChartSample.h"
#include "charts/PackHistory.h"

#include <QList>
#include <QObject>

#include <map>

// The charts' data, keyed by pack address: each pack's trend history and the
// cell voltages of its last cycle. The live polling feeds one pack; a bank of
// packs or a recording read from a file feeds it the same way.
class ChartStore : public QObject {
    Q_OBJECT
public:
    explicit ChartStore(QObject *parent = nullptr);

    // Values go into the pack's history (unless all are missing or the sample
    // is older than the pack's newest), cells replace its last cells. False
    // when nothing of the sample was kept.
    bool addSample(int address, qint64 msecsSinceEpoch, const ChartSample &sample);

    QList<int> addresses() const; // ascending
    bool hasPack(int address) const { return m_packs.count(address) != 0; }
    // Null for a pack that never sent anything.
    const PackHistory *history(int address) const;
    CellSnapshot cells(int address) const;
    qint64 cellsTime(int address) const; // 0 without cells
    // The newest point of any pack; 0 when there is none.
    qint64 latestTime() const;
    qint64 earliestTime() const;

    void clear();
    // Takes over the other store's packs; the other is left empty.
    void takeFrom(ChartStore &other);

signals:
    void sampleAdded(int address);
    void packsChanged(); // a pack appeared, or the store was cleared or replaced

private:
    struct Pack {
        PackHistory history;
        CellSnapshot cells;
        qint64 cellsTime = 0;
    };
    std::map<int, Pack> m_packs;
};
