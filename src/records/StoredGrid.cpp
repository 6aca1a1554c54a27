#include "records/StoredGrid.h"

#include <QCoreApplication>

namespace {
struct Column {
    const char *title;
    int widthEnglish;
    int widthChinese;
};

constexpr Column columns[StoredGrid::columnCount] = {
    {QT_TRANSLATE_NOOP("StoredGrid", "NO."), 500, 500},
    {QT_TRANSLATE_NOOP("StoredGrid", "type"), 500, 500},
    {QT_TRANSLATE_NOOP("StoredGrid", "storage time"), 2000, 2000},
    {QT_TRANSLATE_NOOP("StoredGrid", "total voltage (V)"), 700, 700},
    {QT_TRANSLATE_NOOP("StoredGrid", "total current (A)"), 700, 700},
    {"SOC(%)", 700, 700},
    {"SOH(%)", 700, 700},
    {QT_TRANSLATE_NOOP("StoredGrid", "Max Cell Voltage (v)"), 800, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "NO.of Max Voltage"), 800, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "Min Cell Voltage (v)"), 800, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "NO.of Min Voltage"), 800, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "Voltage difference (v)"), 1000, 700},
    {QT_TRANSLATE_NOOP("StoredGrid", "Max temperature (℃)"), 1100, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "NO.of Max temperature"), 1100, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "Min temperature (℃)"), 1100, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "NO.of Min temperature"), 1100, 800},
    {QT_TRANSLATE_NOOP("StoredGrid", "Alarm status"), 5000, 5000},
    {QT_TRANSLATE_NOOP("StoredGrid", "Protection status"), 5000, 5000},
    {QT_TRANSLATE_NOOP("StoredGrid", "Fault status"), 5000, 5000},
    {QT_TRANSLATE_NOOP("StoredGrid", "system state"), 5000, 5000},
};
} // namespace

namespace StoredGrid {

QStringList headers()
{
    QStringList list;
    for (const Column &c : columns)
        list << QCoreApplication::translate("StoredGrid", c.title);
    return list;
}

QList<int> widthsTwips(bool english)
{
    QList<int> list;
    for (const Column &c : columns)
        list << (english ? c.widthEnglish : c.widthChinese);
    return list;
}

int headerHeightTwips(bool english)
{
    return english ? 900 : 600;
}

} // namespace StoredGrid
