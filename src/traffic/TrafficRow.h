#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <utility>

// One line of the traffic console: a frame written or received, bytes the
// receive assembly threw away, or a note about the line itself. Only what was
// seen is kept; every column is derived from it when shown, so a language
// switch re-labels the rows already there.
struct TrafficRow {
    enum class Kind : quint8 {
        Sent,      // a request as written to the port
        Received,  // a response the receive assembly accepted
        Rejected,  // a response header whose CRC did not match
        Discarded, // bytes dropped without being part of a frame
        Opened,    // the port opened; times start again from 0
        Skipped,   // frames not recorded while the console was paused
    };

    TrafficRow() = default;
    TrafficRow(qint64 ms, Kind kind, QByteArray bytes = {}, QString note = {})
        : ms(ms), kind(kind), bytes(std::move(bytes)), note(std::move(note))
    {
    }

    qint64 ms = 0; // since the port opened
    Kind kind = Kind::Sent;
    QByteArray bytes;
    QString note;     // Opened: the port, its device and settings
    qint64 count = 0; // Skipped: how many

    bool isFrame() const
    {
        return kind == Kind::Sent || kind == Kind::Received || kind == Kind::Rejected;
    }
    bool isReceived() const { return kind != Kind::Sent; }
    // Header fields, for frames of at least 7 bytes; -1 otherwise.
    int address() const { return headerByte(1); }
    int operation() const { return headerByte(3); }
    int item() const { return headerByte(4); }
    // N of a frame, the number of bytes of a discarded run; -1 otherwise.
    int length() const;
    bool crcOk() const;

    // The bytes as hex pairs ("5C FF 10 ..."), at most `limit` bytes of them
    // followed by an ellipsis; all of them for a negative limit.
    QString hex(int limit = -1) const;

private:
    int headerByte(int index) const
    {
        return isFrame() && bytes.size() >= 7 ? quint8(bytes[index]) : -1;
    }
};
