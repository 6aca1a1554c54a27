#pragma once

#include "base/Result.h"
#include "spreadsheet/XlsxSheetWriter.h"

#include <QFile>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringDecoder>

// Turns a live recording into a workbook made from the recording template:
// line j of the file goes into row j + 1, field k into column k + 1, and the
// columns that stay empty for this pack (cells and sensors it does not have,
// and a few identity columns) are hidden.
//
// The file is read line by line and the sheet written as it goes, in slices
// run from the event loop, so a day of recording neither fills the memory nor
// freezes the window. Before writing, a first pass counts the lines (for the
// progress), finds the pack's cell and sensor counts (the hidden columns come
// before the rows in the sheet) and checks the encoding: UTF-8, or GB18030 for
// a file that is not valid UTF-8 (made on a Chinese Windows).
class RecordingConversion : public QObject {
    Q_OBJECT
public:
    explicit RecordingConversion(QObject *parent = nullptr);

    // The workbook of a recording: the path cut before its first ".txt",
    // followed by ".xlsx"; "" when the path holds no ".txt".
    static QString workbookPathFor(const QString &recordingPath);
    // The number of cells (limit 32) or sensors (limit 12) a field names:
    // more than 1 and at most the limit, else 1.
    static int countFrom(const QString &field, int limit);
    // 1-based columns hidden for a pack of `cells` cells and `sensors` sensors.
    static QList<int> hiddenColumns(int cells, int sensors);

    // Checks the inputs and starts; fails with the reason when it cannot.
    Result<void> start(const QString &recordingPath, const QString &templatePath,
                       const QString &workbookPath);
    // Schedules the slices on the event loop; finished() follows.
    void runInBackground();
    // Runs every slice at once (benchmarks, tools).
    Result<void> runToEnd();
    bool isRunning() const { return m_phase != Phase::Idle; }
    void cancel();

    int linesWritten() const { return m_linesWritten; }
    int lineCount() const { return m_lines; }
    bool wasUtf8() const { return m_utf8; }
    QString errorString() const { return m_error; }

signals:
    void progress(int percent);
    void finished(bool ok);

private:
    enum class Phase { Idle, Scan, Write };
    bool slice(); // false once finished (successfully or not)
    bool endOfFile();
    void scanLine(const QString &line);
    bool writeLine(const QString &line);
    bool readFailed();
    bool stop(bool ok, const QString &error = {});
    QString decode(const QByteArray &raw, bool *invalid);
    void scheduleNext();

    Phase m_phase = Phase::Idle;
    QFile m_file;
    QString m_templatePath;
    QString m_workbookPath;
    XlsxSheetWriter m_writer;
    QStringDecoder m_decoder;
    bool m_utf8 = true;
    bool m_triedGb18030 = false;
    int m_lines = 0;
    int m_widest = 0;
    int m_cells = 1;
    int m_sensors = 1;
    int m_linesRead = 0;
    int m_linesWritten = 0;
    int m_percent = -1;
    QString m_error;
    bool m_failed = false; // the last run stopped on a failure, whatever its message
};
