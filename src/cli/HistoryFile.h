#pragma once

#include "base/Result.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The stored records read by `history`, written to the file the command
// line names: a copy of the stored-data template filled like the window's
// export (.xls), a workbook under the template's English column titles
// (.xlsx), or comma-separated values under the same titles (.csv). The file appears whole or not at
// all: it is built under another name beside it and renamed at the end.
class HistoryFile {
    Q_DECLARE_TR_FUNCTIONS(HistoryFile)
public:
    // `rows` as the grid keeps them: every column followed by a tab.
    static Result<void> write(const QString &path, const QStringList &rows);
    static QStringList csvHeader();
    // One CSV line (without its line end), quoted where a field needs it.
    static QString csvLine(const QStringList &fields);
};
