#include "requests/WriteEncoding.h"

#include <QLocale>

#include <cfenv>
#include <cmath>

namespace WriteEncoding {

double scaledValue(double value, double scale)
{
    // nearbyint rounds in the current mode, which is to-nearest-even unless
    // someone changed it; say so explicitly rather than rely on it.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double n = std::nearbyint(value * scale);
    std::fesetround(previous);
    return n;
}

void putScaledWord(double value, QByteArray &frame, int index, double scale)
{
    const double n = scaledValue(value, scale);
    // The low 16 bits of n, also for values far outside the word.
    const double wrapped = n - 65536.0 * std::floor(n / 65536.0);
    const quint16 word = std::isfinite(wrapped) ? quint16(qint64(wrapped)) : 0;
    frame[index] = char(word >> 8);
    frame[index + 1] = char(word & 0xFF);
}

void putText(QByteArray &frame, int start, int width, const QString &text)
{
    for (int i = 0; i < width; ++i)
        frame[start + i] = i < text.size() ? char(text.at(i).unicode() & 0xFF) : '\0';
}

std::optional<QString> firstUnsendable(const QString &text, int width)
{
    const int n = int(qMin<qsizetype>(width, text.size()));
    for (int i = 0; i < n; ++i) {
        if (text.at(i).unicode() <= 0xFF)
            continue;
        // Name the whole character, not half of a surrogate pair.
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        return text.mid(i, pair ? 2 : 1);
    }
    return std::nullopt;
}

static int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

void putHexPairs(QByteArray &frame, int start, int count, const QString &text)
{
    for (int i = 0; i < count; ++i) {
        int byte = 0;
        // i < length / 2 in real division: a lone last digit still counts.
        if (2 * i < text.size()) {
            const QString pair = text.mid(2 * i, 2);
            for (QChar c : pair) {
                const int d = hexDigit(c);
                if (d < 0)
                    break;
                byte = byte * 16 + d;
            }
        }
        frame[start + i] = char(byte);
    }
}

void putDate(QByteArray &frame, int start, QDate date)
{
    frame[start] = char(((date.year() % 100) + 100) % 100);
    frame[start + 1] = char(date.month());
    frame[start + 2] = char(date.day());
}

std::optional<double> parseNumber(const QString &text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<QDate> parseDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-M-d")}) {
        const QDate d = QDate::fromString(t, format);
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

} // namespace WriteEncoding
