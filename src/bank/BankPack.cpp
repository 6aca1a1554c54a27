#include "bank/BankPack.h"

#include "responses/StatusNames.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
constexpr quint32 namedConditions = (1u << StatusNames::conditionCount) - 1;

QStringList lineList(const QString &lines)
{
    QStringList list;
    for (const QString &line : lines.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        list << line.trimmed();
    return list;
}

} // namespace

bool BankPack::inAlarm() const
{
    return (alarms & namedConditions) != 0;
}

bool BankPack::inProtection() const
{
    return (protections & namedConditions) != 0;
}

QString BankPack::conditionSummary() const
{
    QStringList parts;
    if (inProtection())
        parts << tr("Protection: %1")
                     .arg(lineList(StatusNames::conditionLines(protections))
                              .join(QStringLiteral(", ")));
    if (inFault())
        parts << tr("Fault: %1")
                     .arg(lineList(StatusNames::faultLines(faults)).join(QStringLiteral(", ")));
    if (inAlarm())
        parts << tr("Alarm: %1")
                     .arg(lineList(StatusNames::conditionLines(alarms)).join(QStringLiteral(", ")));
    return parts.isEmpty() ? tr("normal") : parts.join(QStringLiteral("; "));
}

QString BankPack::mosText() const
{
    return tr("C %1, D %2")
        .arg(StatusNames::switchText(chargeMos), StatusNames::switchText(dischargeMos));
}
