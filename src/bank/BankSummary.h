#pragma once

#include "bank/BankPack.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The bank as a whole, over the packs that are online and have sent live
// values: an offline pack's last values are stale and would distort it.
struct BankSummary {
    Q_DECLARE_TR_FUNCTIONS(BankSummary)

public:
    int packs = 0; // packs counted
    double minVoltage = 0;
    double maxVoltage = 0;
    double current = 0; // summed: packs in parallel
    double minSoc = 0;
    double maxSoc = 0;
    int largestDifferenceAddress = -1;
    double largestDifference = 0;
    QString largestDifferenceText;

    static BankSummary of(const QList<BankPack> &packs);

    // The page's lines, in the current language; "—" values when no pack counts.
    QString voltageLine() const;
    QString currentLine() const;
    QString socLine() const;
    QString differenceLine() const;
};
