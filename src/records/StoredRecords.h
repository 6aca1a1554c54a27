#pragma once

#include "spreadsheet/XlsWorkbook.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class AppState;
class LinkController;
class RequestBuilder;

// Reads the history records kept in the BMS's flash: the count (code 160),
// then one record per request (code 161), newest index first; and exports the
// rows read into a copy of the stored-data template.
//
// A full history takes the better part of an hour at 9600 baud, so a
// read-out shows how far it is ("i / N", a bar, the time taken and the time
// still needed at the rate so far) and can be stopped; the rows read until
// then stay, and export like any others. The export itself runs in slices on
// the event loop, so the window stays live and its progress moves.
class StoredRecords {
    Q_DECLARE_TR_FUNCTIONS(StoredRecords)

public:
    StoredRecords(AppState &state, LinkController &link, RequestBuilder &requests);
    ~StoredRecords(); // an export not finished leaves no workbook

    void requestCount(); // "Number of stored data"
    void getData();      // "get data"
    // "Stop": nothing more is requested; the answer to the request already
    // sent is still taken if it comes, and ends the read-out.
    void stopReading();
    // Replies item 71 and 70, operation 0; a frame too short for its layout
    // throws FrameError (the dispatcher shows "7").
    void handleCount();
    void handleRecord();
    void exportRows(); // "Export to Excel"
    void openFolder(); // the exports' folder in the desktop's file manager
    // How "Open folder" reaches the file manager; the window sets it.
    void setOpener(std::function<bool(const QString &)> opener) { m_opener = std::move(opener); }

    // The 1000 ms read-out timer: moves the time shown, and notices a
    // read-out the link gave up ("Send failed") or lost with the port.
    void readTick();
    QTimer &readTimer() { return m_readTimer; }
    bool isReading() const
    {
        return m_readOut == ReadOut::Counting || m_readOut == ReadOut::Reading;
    }
    // One slice of a running export (the export timer calls it).
    void exportSlice();
    bool isExporting() const { return m_export.isRunning(); }

    // The grid shows storedRows from this index on: a new header (language
    // change, "get data") empties the grid while the rows stay exportable.
    int gridFirstRow() const { return m_gridFirstRow; }
    QStringList gridRows() const;
    void resetGrid();
    // Counts the resets, so a view can tell a fresh grid from a longer one.
    int gridGeneration() const { return m_gridGeneration; }

    static QString templateName(); // found through DataLocations
    static QString topFolder();    // "Store data"
    // "1:02:03": hours, minutes, seconds of a time in milliseconds.
    static QString duration(qint64 ms);
    // Where the read-out's time comes from (milliseconds, any origin); tests
    // set their own, {} restores the steady clock.
    void setClock(std::function<qint64()> clock);

private:
    enum class ReadOut { Idle, Counting, Reading, Stopped };
    void finishReading();
    void showOutputFolder();
    void startReadOut();
    void endReadOut(ReadOut next);
    void showReadProgress();
    void finishExport();

    AppState &m_state;
    LinkController &m_link;
    RequestBuilder &m_requests;
    int m_gridFirstRow = 0;
    int m_gridGeneration = 0;

    ReadOut m_readOut = ReadOut::Idle;
    int m_total = -1;     // records the BMS said it holds; -1 before the count
    qint64 m_startMs = 0; // when "get data" was pressed
    qint64 m_lastMs = 0;  // the time shown last
    int m_quietTicks = 0; // ticks in a row with the read-out's code gone
    std::function<qint64()> m_clock;
    QTimer m_readTimer;

    XlsWorkbook m_export;
    QStringList m_exportLines; // the rows as they were when the export began
    QString m_exportPath;
    QTimer m_exportTimer;
    std::function<bool(const QString &)> m_opener;
};
