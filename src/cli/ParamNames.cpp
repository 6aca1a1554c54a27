#include "cli/ParamNames.h"

#include "requests/ParamForm.h"
#include "requests/ParamRows.h"
#include "requests/RequestTable.h"

namespace {
constexpr int firstRowWrite = 49;
}

namespace ParamNames {

QString rowName(int row)
{
    // The row write's fields carry the row's caption as it is written in the
    // program's source language.
    const RequestSpec *spec = RequestTable::find(quint8(firstRowWrite + row));
    if (row < 0 || row >= ParamRows::count || !spec || spec->fields.isEmpty())
        return {};
    return QString::fromLatin1(spec->fields.first().group);
}

QStringList rowNames()
{
    QStringList names;
    for (int r = 0; r < ParamRows::count; ++r)
        names << rowName(r);
    return names;
}

int row(const QString &word)
{
    bool isNumber = false;
    const int number = word.toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number < ParamRows::count ? number : -1;
    for (int r = 0; r < ParamRows::count; ++r)
        if (word.compare(rowName(r), Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

const QList<Column> &columns()
{
    static const QList<Column> list = {
        {"AlaVal", false, 0},     {"AlaDelay", false, 1},  {"ProtVal", false, 2},
        {"ProtRecVal", false, 3}, {"ProtDelay", false, 4}, {"AlarmEnable", true, 0},
        {"ProtEnable", true, 1},
    };
    return list;
}

const Column *column(const QString &word)
{
    for (const Column &c : columns())
        if (word.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString control(const Column &column, int row)
{
    return column.check ? ParamField::fx(2 * row + column.offset)
                        : ParamField::cs(5 * row + column.offset);
}

} // namespace ParamNames
