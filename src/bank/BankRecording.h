#pragma once

#include "bank/BankPack.h"
#include "base/Result.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// The bank recording: one CSV line per pack per sweep, in a file of its own
// under the recordings' day folder. UTF-8 with a byte-order mark (so that a
// spreadsheet program reads the Chinese texts right) and a header row. Every
// line is handed to the system as soon as it is written, so a crash or a
// pulled plug loses at most the line being written.
//
// A pack that sent no new values in the sweep gets a line with its state and
// empty values: the gap shows in the file rather than an old value repeated.
class BankRecording {
    Q_DECLARE_TR_FUNCTIONS(BankRecording)

public:
    ~BankRecording();

    // Creates the file; the failure's message is for the user.
    Result<void> start(const QDateTime &moment);
    // One line per pack; fails (and the file closed, what was written kept)
    // when the disk refuses it.
    Result<void> writeSweep(const QList<BankPack> &packs, qint64 sweepStartMs,
                            const QDateTime &moment);
    void stop();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_path; }
    int linesWritten() const { return m_lines; }

    static QStringList header();
    // The fields of one pack's line; values empty unless `fresh`.
    static QStringList fields(const BankPack &pack, bool fresh, const QDateTime &moment);
    // One CSV line (no line end): fields with a comma, quote or line break
    // are quoted, quotes doubled.
    static QString csvLine(const QStringList &fields);
    // The fields of a CSV line; the inverse of csvLine().
    static QStringList parseCsvLine(const QString &line);
    // Column of the address in a line.
    static constexpr int addressColumn = 1;

private:
    Result<void> writeLine(const QStringList &fields);
    Error writeFailed() const;

    QFile m_file;
    QString m_path;
    int m_lines = 0;
};
