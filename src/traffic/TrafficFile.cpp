#include "traffic/TrafficFile.h"

#include "traffic/TrafficModel.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>

namespace TrafficFile {

QString save(const QAbstractItemModel &rows, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return file.errorString();
    const int columns = rows.columnCount();
    QStringList cells;
    for (int c = 0; c < columns; ++c)
        cells << rows.headerData(c, Qt::Horizontal).toString();
    file.write(cells.join(QLatin1Char('\t')).toUtf8() + '\n');
    for (int r = 0; r < rows.rowCount(); ++r) {
        cells.clear();
        for (int c = 0; c < columns; ++c)
            cells << rows.data(rows.index(r, c), TrafficModel::FullTextRole).toString();
        file.write(cells.join(QLatin1Char('\t')).toUtf8() + '\n');
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString fileFilter()
{
    return QCoreApplication::translate("TrafficFile", "Text files (*.txt)");
}

} // namespace TrafficFile
