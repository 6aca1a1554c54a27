#include "link/ModeString.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// Two-digit abbreviations of the classic baud rates.
qint32 expandBaud(qint32 baud)
{
    static const QHash<qint32, qint32> abbreviations = {
        {11, 110},  {15, 150},  {30, 300},  {60, 600},   {12, 1200},
        {24, 2400}, {48, 4800}, {96, 9600}, {19, 19200},
    };
    return abbreviations.value(baud, baud);
}

bool parseBaud(const QString &text, qint32 &baud)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value <= 0 || value > 0x7FFFFFFF)
        return false;
    for (QChar c : text)
        if (!c.isDigit())
            return false;
    baud = expandBaud(qint32(value));
    return true;
}

bool parseParity(const QString &text, char &parity)
{
    if (text.size() != 1)
        return false;
    const char c = text.at(0).toUpper().toLatin1();
    if (c != 'N' && c != 'E' && c != 'O' && c != 'M' && c != 'S')
        return false;
    parity = c;
    return true;
}

bool parseDataBits(const QString &text, int &bits)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || !text.at(0).isDigit())
        return false;
    bits = value;
    return true;
}

bool parseStopBits(const QString &text, int &stop)
{
    if (text == QLatin1String("1"))
        stop = 1;
    else if (text == QLatin1String("1.5"))
        stop = 3;
    else if (text == QLatin1String("2"))
        stop = 2;
    else
        return false;
    return true;
}

bool isSwitch(const QString &value, std::initializer_list<const char *> allowed)
{
    for (const char *a : allowed)
        if (value.compare(QLatin1String(a), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// "baud=9600 parity=n data=8 stop=1 xon=off octs=off ..."
bool parseKeywords(const QString &text, PortIo::Settings &s)
{
    bool haveStop = false;
    const QStringList tokens =
        text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &token : tokens) {
        const qsizetype eq = token.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return false;
        const QString key = token.left(eq).toLower();
        const QString value = token.mid(eq + 1);
        bool ok = true;
        if (key == QLatin1String("baud"))
            ok = parseBaud(value, s.baud);
        else if (key == QLatin1String("parity"))
            ok = parseParity(value, s.parity);
        else if (key == QLatin1String("data"))
            ok = parseDataBits(value, s.dataBits);
        else if (key == QLatin1String("stop"))
            ok = haveStop = parseStopBits(value, s.stopBits);
        else if (key == QLatin1String("xon")) {
            ok = isSwitch(value, {"on", "off"});
            if (ok && value.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
                s.flow = 'X';
        } else if (key == QLatin1String("octs")) {
            ok = isSwitch(value, {"on", "off"});
            if (ok && value.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)
                s.flow = 'P';
        } else if (key == QLatin1String("to") || key == QLatin1String("odsr") ||
                   key == QLatin1String("idsr"))
            ok = isSwitch(value, {"on", "off"});
        else if (key == QLatin1String("dtr"))
            ok = isSwitch(value, {"on", "off", "hs"});
        else if (key == QLatin1String("rts"))
            ok = isSwitch(value, {"on", "off", "hs", "tg"});
        else
            ok = false;
        if (!ok)
            return false;
    }
    if (!haveStop)
        s.stopBits = s.baud == 110 ? 2 : 1;
    return !tokens.isEmpty();
}

// "9600,N,8 ,1" and its shorter forms.
bool parseClassic(const QString &text, PortIo::Settings &s)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() > 5)
        return false;
    QStringList f;
    for (const QString &field : fields)
        f << field.trimmed();
    if (!parseBaud(f.at(0), s.baud))
        return false;
    s.stopBits = s.baud == 110 ? 2 : 1;
    if (f.size() > 1 && !f.at(1).isEmpty() && !parseParity(f.at(1), s.parity))
        return false;
    if (f.size() > 2 && !f.at(2).isEmpty() && !parseDataBits(f.at(2), s.dataBits))
        return false;
    if (f.size() > 3 && !f.at(3).isEmpty() && !parseStopBits(f.at(3), s.stopBits))
        return false;
    if (f.size() > 4) {
        const QString flow = f.at(4).toUpper();
        if (flow == QLatin1String("X"))
            s.flow = 'X';
        else if (flow == QLatin1String("P"))
            s.flow = 'P';
        else
            return false;
    }
    return true;
}

bool driverSupports(const PortIo::Settings &s)
{
    if (s.dataBits < 5 || s.dataBits > 8)
        return false;
#ifndef Q_OS_WIN
    if (s.stopBits == 3)
        return false;
#endif
    return true;
}

} // namespace

namespace ModeString {

PortIo::Settings parse(const QString &mode)
{
    PortIo::Settings s;
    s.parity = 'E';
    s.dataBits = 7;
    QString text = mode.trimmed();
    static const QRegularExpression device(QStringLiteral("^COM\\d+\\s*:?\\s*"),
                                           QRegularExpression::CaseInsensitiveOption);
    text.remove(device);
    const bool parsed =
        text.contains(QLatin1Char('=')) ? parseKeywords(text, s) : parseClassic(text, s);
    s.valid = parsed && driverSupports(s);
    return s;
}

QString compose(const QString &baud, const QString &parity, const QString &dataBits)
{
    return baud + QLatin1Char(',') + parity + QLatin1Char(',') + dataBits + QStringLiteral(",1");
}

} // namespace ModeString
