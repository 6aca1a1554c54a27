#include "bank/BankSummary.h"

#include "responses/FieldDecoding.h"

#include <QCoreApplication>

#include <cmath>

namespace {
// Sums and differences of values with two decimals: no binary tail.
QString rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return decimalText(std::round(value * scale) / scale);
}
const QString none = QStringLiteral("—");
} // namespace

BankSummary BankSummary::of(const QList<BankPack> &packs)
{
    using V = BankPack::Value;
    BankSummary s;
    for (const BankPack &p : packs) {
        if (!p.online || !p.hasLive)
            continue;
        const double v = p.number(V::TotalVoltage);
        const double soc = p.number(V::Soc);
        const double diff = p.number(V::CellDifference);
        if (s.packs == 0) {
            s.minVoltage = s.maxVoltage = v;
            s.minSoc = s.maxSoc = soc;
        }
        s.minVoltage = std::min(s.minVoltage, v);
        s.maxVoltage = std::max(s.maxVoltage, v);
        s.minSoc = std::min(s.minSoc, soc);
        s.maxSoc = std::max(s.maxSoc, soc);
        s.current += p.number(V::Current);
        if (s.largestDifferenceAddress < 0 || diff > s.largestDifference) {
            s.largestDifferenceAddress = p.address;
            s.largestDifference = diff;
            s.largestDifferenceText = p.text(V::CellDifference);
        }
        ++s.packs;
    }
    return s;
}

QString BankSummary::voltageLine() const
{
    if (packs == 0)
        return tr("Bank voltage: %1").arg(none);
    return tr("Bank voltage: %1 to %2 V (spread %3 V)")
        .arg(decimalText(minVoltage), decimalText(maxVoltage), rounded(maxVoltage - minVoltage, 2));
}

QString BankSummary::currentLine() const
{
    if (packs == 0)
        return tr("Summed current: %1").arg(none);
    return tr("Summed current: %1 A (online packs: %2)").arg(rounded(current, 2)).arg(packs);
}

QString BankSummary::socLine() const
{
    if (packs == 0)
        return tr("SOC spread: %1").arg(none);
    return tr("SOC spread: %1 % (%2 to %3 %)")
        .arg(rounded(maxSoc - minSoc, 1), decimalText(minSoc), decimalText(maxSoc));
}

QString BankSummary::differenceLine() const
{
    if (packs == 0)
        return tr("Largest cell difference: %1").arg(none);
    return tr("Largest cell difference: address %1, %2 V")
        .arg(largestDifferenceAddress)
        .arg(largestDifferenceText);
}
