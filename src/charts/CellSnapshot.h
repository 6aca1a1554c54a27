#pragma once

#include <QList>

// The cell voltages of one polling cycle, for the bar chart: one entry per
// cell the pack reports, with its passive-balancing flag.
struct CellSnapshot {
    QList<int> millivolts;
    QList<bool> balancing; // as long as millivolts

    bool isEmpty() const { return millivolts.isEmpty(); }
    // The first cell with the highest or lowest voltage; -1 without cells.
    int highestIndex() const;
    int lowestIndex() const;
    int differenceMillivolts() const; // 0 without cells
};
