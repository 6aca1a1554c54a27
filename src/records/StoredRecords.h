#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Core;

// Reads the history records kept in the BMS's flash: the count (code 160),
// then one record per request (code 161), newest index first; and exports the
// rows read into a copy of the stored-data template.
class StoredRecords {
    Q_DECLARE_TR_FUNCTIONS(StoredRecords)

public:
    // Fills rows into an existing .xls in place (XlsWorkbook::writeRows).
    using WorkbookWriter =
        std::function<bool(const QString &path, int firstRow, const QList<QStringList> &rows,
                           const std::function<void(int)> &progress, QString *error)>;

    explicit StoredRecords(Core &core);

    void requestCount(); // "Number of stored data"
    void getData();      // "get data"
    // Replies item 71 and 70, operation 0; a frame too short for its layout
    // throws FrameError (the dispatcher shows "7").
    void handleCount();
    void handleRecord();
    void exportRows(); // "Export to Excel"
    void openFolder(); // the exports' folder in the desktop's file manager
    // How "Open folder" reaches the file manager; the window sets it.
    void setOpener(std::function<bool(const QString &)> opener) { m_opener = std::move(opener); }

    // The grid shows storedRows from this index on: a new header (language
    // change, "get data") empties the grid while the rows stay exportable.
    int gridFirstRow() const { return m_gridFirstRow; }
    QStringList gridRows() const;
    void resetGrid();
    // Counts the resets, so a view can tell a fresh grid from a longer one.
    int gridGeneration() const { return m_gridGeneration; }

    static QString templateName(); // found through DataLocations
    static QString topFolder();    // "Store data"
    void setWorkbookWriter(WorkbookWriter writer) { m_writer = std::move(writer); }

private:
    void finishReading();
    void showOutputFolder();

    Core &m_core;
    int m_gridFirstRow = 0;
    int m_gridGeneration = 0;
    WorkbookWriter m_writer;
    std::function<bool(const QString &)> m_opener;
};
