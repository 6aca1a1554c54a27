#pragma once

// History rows as a read-out leaves them (tab-separated, each field followed
// by a tab), varied enough that an export of them exercises every kind of
// cell: numbers, texts kept as text, Latin-1 and wide strings, empty fields,
// texts used once and texts used again, and a string table long enough to
// need continuation records.

#include <QString>
#include <QStringList>

namespace SampleRows {

inline QStringList lines(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        QStringList f;
        f << QString::number(count - i) << QString::number(1 + i % 3)
          << QStringLiteral("2024-05-%1 %2:%3:00")
                 .arg(1 + i / 1440 % 28, 2, 10, QLatin1Char('0'))
                 .arg(i / 60 % 24, 2, 10, QLatin1Char('0'))
                 .arg(i % 60, 2, 10, QLatin1Char('0'))
          << QString::number((5000 + i * 7 % 400) / 100.0)
          << (i % 5 == 0 ? QStringLiteral("-1.5") : QStringLiteral("12")) << QStringLiteral("0012")
          << (i % 3 == 0 ? QStringLiteral("单体电压过高 Cell_OV ") : QString())
          << QStringLiteral("ünïcødé %1").arg(i % 10) << QString()
          << (i % 7 == 0 ? QStringLiteral("Reserved8 ") : QStringLiteral("Charging MOS ON  "));
        out << f.join(QLatin1Char('\t')) + QLatin1Char('\t');
    }
    return out;
}

} // namespace SampleRows
