#include "records/XlsWorkbook.h"

bool XlsWorkbook::writeRows(const QString &, int, const QList<QStringList> &,
                            const std::function<void(int)> &, QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
