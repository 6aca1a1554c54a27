#include "spreadsheet/PlainNumber.h"

namespace PlainNumber {

namespace {
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

bool matches(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    if (i < text.size() && text.at(i) == QLatin1Char('-'))
        ++i;
    const qsizetype intStart = i;
    while (i < text.size() && isAsciiDigit(text.at(i)))
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text.at(intStart) == QLatin1Char('0')))
        return false;
    qsizetype fracDigits = 0;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        const qsizetype fracStart = i;
        while (i < text.size() && isAsciiDigit(text.at(i)))
            ++i;
        fracDigits = i - fracStart;
        if (fracDigits == 0 || text.at(i - 1) == QLatin1Char('0'))
            return false;
    }
    if (i != text.size() || intDigits + fracDigits > 15)
        return false;
    // "-0" would read back as 0.
    return !(intStart == 1 && intDigits == 1 && fracDigits == 0 && text.at(1) == QLatin1Char('0'));
}

} // namespace PlainNumber
