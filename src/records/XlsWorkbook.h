#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Fills the first worksheet of an existing Excel 97-2003 (BIFF8) workbook in
// place. Everything else of the workbook (other sheets, formats, the header
// row, column widths) is kept, so a template styled by the user stays styled.
class XlsWorkbook {
public:
    // Writes `rows` as text cells starting at 0-based row `firstRow`, column 0;
    // `progress` is called with the number of rows done. On failure returns
    // false with a reason in `error` and leaves the file as it was.
    static bool writeRows(const QString &path, int firstRow, const QList<QStringList> &rows,
                          const std::function<void(int)> &progress, QString *error);
    // Freezes the header row of the first sheet (for making templates).
    static bool freezeFirstRow(const QString &path, QString *error);
};
