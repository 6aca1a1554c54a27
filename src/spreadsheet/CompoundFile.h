#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The container format of Excel 97-2003 workbooks (OLE2 compound file): a
// small file system of named streams in fixed-size sectors. Reading keeps
// every directory entry as it was, so writing back reproduces the same tree
// (names, storages, class ids, times) with only the stream contents changed.
class CompoundFile {
public:
    struct Entry {
        QString name;
        quint8 type = 0; // 0 empty, 1 storage, 2 stream, 5 root
        QByteArray raw;  // the 128-byte directory entry as read
        QByteArray data; // stream contents
    };

    // Fails with the reason when `bytes` is not a readable compound file.
    Result<void> read(const QByteArray &bytes);
    // A version 3 file (512-byte sectors) holding the entries.
    QByteArray write() const;
    // The same bytes as pieces to be written one after the other; the streams'
    // contents are shared rather than copied into one buffer.
    QList<QByteArray> writeParts() const;

    // The stream with this name (case-insensitive, as the format compares), or
    // nullptr.
    Entry *stream(const QString &name);
    const QList<Entry> &entries() const { return m_entries; }

private:
    QList<Entry> m_entries;
};
