#pragma once

#include "base/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Fills the first worksheet of an existing Excel 97-2003 (BIFF8) workbook in
// place. Everything else of the workbook (other sheets, formats, the header
// row, column widths) is kept, so a template styled by the user stays styled.
//
// A full history is tens of megabytes of workbook, so the filling is a job
// done in small steps: an event loop runs between them and the window stays
// live. Every step is bounded (a block of rows, a share of the string table,
// a few megabytes of file), and the bytes written do not depend on how the
// steps were spread over time.
class XlsWorkbook {
public:
    // The text cells of row `index` (0-based) of those being written.
    using RowSource = std::function<QStringList(int index)>;

    XlsWorkbook();
    ~XlsWorkbook(); // a job not finished leaves the file as it was
    XlsWorkbook(const XlsWorkbook &) = delete;
    XlsWorkbook &operator=(const XlsWorkbook &) = delete;

    // Loads the workbook for `rowCount` rows as text cells starting at 0-based
    // row `firstRow`, column 0. Fails with the reason when it cannot.
    Result<void> begin(const QString &path, int firstRow, int rowCount, RowSource rows);
    // Does the next bounded share of the work; true while more remains. After
    // the last step, succeeded() and errorString() tell the outcome.
    bool step();
    void abandon();
    bool isRunning() const;
    int rowCount() const;
    int rowsDone() const;
    bool succeeded() const;
    QString errorString() const;

    // The whole job at once; `progress` is called with the number of rows
    // done. A failure leaves the file as it was.
    static Result<void> writeRows(const QString &path, int firstRow, const QList<QStringList> &rows,
                                  const std::function<void(int)> &progress);
    // Freezes the header row of the first sheet (for making templates).
    static Result<void> freezeFirstRow(const QString &path);

private:
    struct Job;
    std::unique_ptr<Job> m_job;
    int m_rowCount = 0;
    int m_rowsDone = 0;
    bool m_ok = false;
    QString m_error;
};
