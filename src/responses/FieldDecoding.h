#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class Form;

// Reading the fields of a received frame. Positions count from the start byte
// (the first data byte is byte 7). Every function here throws FrameError when
// a position lies outside the frame; positions inside the frame but past the
// data (the CRC bytes) are read like data, as the BMS firmware expects of us.

// The byte at `index`, and the big-endian word at index, index + 1.
quint8 frameByte(const QByteArray &frame, int index);
quint16 frameWord(const QByteArray &frame, int index);

// The 16-bit big-endian word at `index` (low byte at index + 1) plus `offset`,
// times `scale`, as display text: rounded to 5 decimals (halves to even),
// plain decimal notation without trailing zeros, "0" before the point of a
// value between -1 and 1, never "-0". `signedMode` 1 reads the word as two's
// complement, 0 as unsigned.
QString decodeWord(const QByteArray &frame, int index, double scale, qint16 offset = 0,
                   quint8 signedMode = 0);

// The text form decodeWord gives a number.
QString decimalText(double value);

// Bytes first..last as single-byte characters (byte value = code point); a
// zero byte adds nothing. The characters up to a missing position are written
// to `control` before FrameError is thrown, as a character-by-character fill
// of the box would leave them.
void writeLatin1Text(Form &form, const QString &control, const QByteArray &frame, int first,
                     int last);

// Control setters report a refused value by returning false; that aborts the
// frame like a missing position.
void requireAccepted(bool accepted);
