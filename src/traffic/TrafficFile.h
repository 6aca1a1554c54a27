#pragma once

#include <QString>

class QAbstractItemModel;

// The console's rows as a text file: one line of column titles, then one line
// per row, the columns separated by tabs, every byte of each frame in hex.
// UTF-8, written to a temporary file and moved into place, so a failed save
// leaves an existing file as it was.
namespace TrafficFile {
// "" when saved, else why not.
QString save(const QAbstractItemModel &rows, const QString &path);
QString fileFilter();
} // namespace TrafficFile
