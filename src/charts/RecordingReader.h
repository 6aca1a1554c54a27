#pragma once

#include "base/Result.h"
#include "charts/ChartSample.h"

#include <QFile>
#include <QObject>
#include <QString>
#include <QStringDecoder>

#include <optional>

class ChartStore;

// Reads a live recording (the program's own .txt, one line per second) into a
// chart store, so that a past recording can be looked at as trends. The file
// is read in slices run from the event loop: a day of recording does not
// freeze the window. Lines are UTF-8, or GB18030 where they are not valid
// UTF-8 (a file written on a Chinese Windows). A line whose time cannot be
// read is skipped and counted; balancing is not recorded, so the cells of a
// recording carry no balancing flags.
class RecordingReader : public QObject {
    Q_OBJECT
public:
    explicit RecordingReader(QObject *parent = nullptr);

    struct Line {
        qint64 time = 0; // ms since the epoch, local time of the recording
        ChartSample sample;
    };
    // One line without its line end; nothing when it holds no readable time.
    static std::optional<Line> parseLine(const QString &line);

    // Opens the file, or says why it cannot be read. The samples go into
    // `store` under `address` as they are read.
    Result<void> start(const QString &path, ChartStore &store, int address);
    void runInBackground(); // finished() follows
    bool runToEnd();        // every slice at once; true when the file was read
    bool isRunning() const { return m_file.isOpen(); }
    void cancel();

    QString path() const { return m_file.fileName(); }
    int linesRead() const { return m_lines; }
    int samplesRead() const { return m_samples; }
    int linesSkipped() const { return m_skipped; }
    qint64 firstTime() const { return m_first; } // of the lines read; 0 without any
    qint64 lastTime() const { return m_last; }
    QString errorString() const { return m_error; }

signals:
    void progress(int percent);
    void finished(bool ok);

private:
    bool slice(); // false once finished
    void take(const QByteArray &raw);
    bool stop(bool ok, const QString &error = {});

    QFile m_file;
    ChartStore *m_store = nullptr;
    int m_address = 0;
    QStringDecoder m_utf8;
    QStringDecoder m_gb18030;
    int m_lines = 0;
    int m_samples = 0;
    int m_skipped = 0;
    qint64 m_first = 0;
    qint64 m_last = 0;
    int m_percent = -1;
    QString m_error;
};
