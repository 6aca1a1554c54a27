#include "sim/LineSettings.h"

QString LineSettings::toString() const
{
    return QStringLiteral("%1 %2%3%4").arg(baud).arg(dataBits).arg(QChar(parity)).arg(stopBits);
}
