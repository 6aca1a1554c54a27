#pragma once

#include "base/Result.h"
#include "spreadsheet/XlsxBookWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

// Turns a bank recording into a workbook with one sheet per pack, in the
// order the packs first appear in the file, each sheet headed by the
// recording's header row. The file is read a slice of lines at a time from
// the event loop (a first pass finds the packs, then one pass per sheet), so
// a long recording neither fills the memory nor freezes the window.
class BankExport : public QObject {
    Q_OBJECT
public:
    explicit BankExport(QObject *parent = nullptr);

    // The workbook beside a recording: ".csv" replaced by ".xlsx".
    static QString workbookPathFor(const QString &recordingPath);
    static QString sheetTitle(int address);

    Result<void> start(const QString &recordingPath, const QString &workbookPath);
    void runInBackground();
    Result<void> runToEnd();
    bool isRunning() const { return m_phase != Phase::Idle; }
    QList<int> addresses() const { return m_addresses; }
    QString errorString() const { return m_error; }
    QString workbookPath() const { return m_workbookPath; }

signals:
    void progress(int percent);
    void finished(bool ok);

private:
    enum class Phase { Idle, Scan, Write };
    bool slice();
    bool stop(bool ok, const QString &error = {});
    bool rewind();
    bool readLine(QString *line, bool *atEnd);

    Phase m_phase = Phase::Idle;
    QFile m_file;
    QString m_workbookPath;
    XlsxBookWriter m_writer;
    QStringList m_header;
    QList<int> m_addresses;
    int m_sheet = 0;
    qint64 m_dataStart = 0;
    int m_percent = -1;
    QString m_error;
    bool m_failed = false; // the last run stopped on a failure, whatever its message
};
