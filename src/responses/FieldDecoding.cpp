#include "responses/FieldDecoding.h"

#include "base/Form.h"
#include "responses/FrameError.h"

#include <cmath>

quint8 frameByte(const QByteArray &frame, int index)
{
    if (index < 0 || index >= frame.size())
        throw FrameError();
    return quint8(frame.at(index));
}

quint16 frameWord(const QByteArray &frame, int index)
{
    return quint16(frameByte(frame, index) << 8 | frameByte(frame, index + 1));
}

QString decimalText(double value)
{
    // rint() rounds halves to even in the default rounding mode; the scaled
    // result of rint is an integer count of 1e-5, so printing it with five
    // decimals gives exactly those digits and drops the multiplication noise.
    double rounded = std::rint(value * 100000.0) / 100000.0;
    if (rounded == 0.0)
        rounded = 0.0; // -0 (a negative scale times 0, or a tiny negative) reads "0"
    QString text = QString::number(rounded, 'f', 5);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString decodeWord(const QByteArray &frame, int index, double scale, qint16 offset,
                   quint8 signedMode)
{
    const int raw = frameWord(frame, index);
    double value;
    if (signedMode == 1 && raw >= 32768)
        value = double(raw - 65536 - offset) * scale;
    else
        value = double(raw + offset) * scale;
    return decimalText(value);
}

void writeLatin1Text(Form &form, const QString &control, const QByteArray &frame, int first,
                     int last)
{
    QString text;
    bool complete = true;
    for (int i = first; i <= last; ++i) {
        if (i < 0 || i >= frame.size()) {
            complete = false;
            break;
        }
        const quint8 byte = quint8(frame.at(i));
        if (byte != 0)
            text.append(QChar(byte));
    }
    form.setText(control, text);
    if (!complete)
        throw FrameError();
}

void requireAccepted(bool accepted)
{
    if (!accepted)
        throw FrameError();
}
