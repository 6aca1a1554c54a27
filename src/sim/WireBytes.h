#pragma once

#include <QByteArray>
#include <QtGlobal>

// Big-endian field packing and unpacking for frame data, as the pack lays its
// answers out. Reads past the end yield 0 so that a short write cannot crash
// the pack (lengths are checked before values are used).
class WireBytes {
public:
    WireBytes &byte(int v)
    {
        m_bytes.append(char(quint8(v)));
        return *this;
    }
    WireBytes &word(int v)
    {
        m_bytes.append(char(quint8(quint16(v) >> 8)));
        m_bytes.append(char(quint8(v)));
        return *this;
    }
    WireBytes &dword(quint32 v)
    {
        word(int(v >> 16));
        return word(int(v & 0xFFFF));
    }
    // Fixed width, zero-padded, one byte per character (Latin-1).
    WireBytes &text(const QByteArray &latin1, int width)
    {
        m_bytes.append(latin1.left(width));
        m_bytes.append(QByteArray(qMax(0, width - int(latin1.size())), '\0'));
        return *this;
    }
    WireBytes &raw(const QByteArray &bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

    static quint8 byteAt(const QByteArray &data, int i)
    {
        return i >= 0 && i < data.size() ? quint8(data[i]) : 0;
    }
    static quint16 wordAt(const QByteArray &data, int i)
    {
        return quint16(byteAt(data, i) << 8 | byteAt(data, i + 1));
    }
    static qint16 signedWordAt(const QByteArray &data, int i) { return qint16(wordAt(data, i)); }
    // A text field up to its first zero byte.
    static QByteArray textAt(const QByteArray &data, int i, int width)
    {
        const QByteArray field = data.mid(i, width);
        const int end = field.indexOf('\0');
        return end < 0 ? field : field.left(end);
    }

private:
    QByteArray m_bytes;
};
