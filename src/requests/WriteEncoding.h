#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// The three encodings that carry every value the host writes to the BMS:
// 16-bit big-endian words, bytes, and fixed-width single-byte texts. These
// functions only lay bytes out; deciding whether a value may be sent at all is
// the encoder's job (WriteEncoder).
namespace WriteEncoding {

// value x scale rounded to the nearest whole number, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double scaledValue(double value, double scale);

// Writes the low 16 bits of scaledValue(value, scale) big-endian at
// frame[index], frame[index + 1]; 70000 wraps to 0x1170. Callers that must not
// wrap check the range first.
void putScaledWord(double value, QByteArray &frame, int index, double scale);

// One byte per character (its Latin-1 code), cut to `width`, zero padded.
// Characters above U+00FF must have been refused before; they would be cut to
// their low byte here.
void putText(QByteArray &frame, int start, int width, const QString &text);

// The first character in text[0, width) that cannot go on the wire as one
// byte, or nullopt when all of them can.
std::optional<QString> firstUnsendable(const QString &text, int width);

// Pairs of hexadecimal digits, one byte per pair, `count` bytes from `start`.
// A pair is read as far as it holds hex digits from its left ("A?" -> 0x0A,
// "?A" -> 0); an odd last digit fills a byte alone ("ABC" -> AB 0C).
void putHexPairs(QByteArray &frame, int start, int count, const QString &text);

// Year mod 100, month, day.
void putDate(QByteArray &frame, int start, QDate date);

// A decimal number as a technician types it: surrounding blanks allowed, "."
// as the decimal point, no group separators ("4,25" is not 425), finite.
std::optional<double> parseNumber(const QString &text);

// A date as the pages show it, yyyy-mm-dd (one-digit month and day accepted).
std::optional<QDate> parseDate(const QString &text);

} // namespace WriteEncoding
