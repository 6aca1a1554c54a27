#include "requests/WriteEncoder.h"

#include "base/ChineseOnlyText.h"
#include "base/Form.h"
#include "requests/WriteEncoding.h"

#include <QCoreApplication>
#include <QLocale>

namespace {
QString number(double v)
{
    return QLocale::c().toString(v, 'g', 12);
}
} // namespace

QString WriteEncoder::outOfRange(const RequestField &field, double low, double high)
{
    return tr("%1: out of range, allowed %2 to %3")
        .arg(fieldName(field), number(low), number(high));
}

QString WriteEncoder::emptyMessage()
{
    return tr("Parameter cannot be empty");
}

QString WriteEncoder::fieldName(const RequestField &field)
{
    const QString label = field.label ? tr(field.label) : field.control;
    return field.group ? tr(field.group) + QLatin1Char(' ') + label : label;
}

Result<void> WriteEncoder::encode(const RequestSpec &spec, const Form &page, QByteArray &frame,
                                  const QDateTime &now)
{
    // The emptiness test comes before anything else and is an exact
    // comparison: a box of blanks is not empty here (it fails as a number).
    for (const QString &control : spec.tested) {
        if (!page.text(control).isEmpty())
            continue;
        if (spec.emptyCheck == RequestSpec::EmptyCheck::ChineseOnly)
            return Error{chineseOnly(ChineseOnlyText::parameterEmpty)};
        return Error{emptyMessage()};
    }
    for (const RequestField &field : spec.fields)
        if (Result<void> encoded = encodeField(field, page, frame, now); !encoded)
            return encoded;
    return {};
}

Result<void> WriteEncoder::encodeField(const RequestField &field, const Form &page,
                                       QByteArray &frame, const QDateTime &now)
{
    using Kind = RequestField::Kind;
    const int at = field.index;
    switch (field.kind) {
    case Kind::Constant:
        frame[at] = char(field.constant);
        return {};
    case Kind::CheckByte:
        frame[at] = char(page.check(field.control));
        return {};
    case Kind::CheckWord:
        frame[at] = 0;
        frame[at + 1] = char(page.check(field.control));
        return {};
    case Kind::OptionByte:
        frame[at] = char(qMax(0, page.choice(field.control)));
        return {};
    case Kind::ListIndexByte: {
        const int index = page.choice(field.control);
        if (index < 0)
            return Error{tr("%1: no entry selected").arg(fieldName(field))};
        frame[at] = char(index);
        return {};
    }
    case Kind::HexPairs:
        WriteEncoding::putHexPairs(frame, at, field.width, page.text(field.control));
        return {};
    case Kind::Clock: {
        const QDate d = now.date();
        const QTime t = now.time();
        WriteEncoding::putDate(frame, at, d);
        frame[at + 3] = char(t.hour());
        frame[at + 4] = char(t.minute());
        frame[at + 5] = char(t.second());
        return {};
    }
    case Kind::Text: {
        const QString text = page.text(field.control);
        if (auto bad = WriteEncoding::firstUnsendable(text, field.width))
            return Error{tr("%1: the character \"%2\" cannot be sent").arg(fieldName(field), *bad)};
        WriteEncoding::putText(frame, at, field.width, text);
        return {};
    }
    case Kind::Date: {
        const auto date = WriteEncoding::parseDate(page.text(field.control));
        if (!date)
            return Error{tr("%1: not a valid date (yyyy-mm-dd)").arg(fieldName(field))};
        WriteEncoding::putDate(frame, at, *date);
        return {};
    }
    case Kind::Byte: {
        const auto value = WriteEncoding::parseNumber(page.text(field.control));
        if (!value)
            return Error{tr("%1: not a number").arg(fieldName(field))};
        const double n = WriteEncoding::scaledValue(*value, 1);
        if (n < 0 || n > 255)
            return Error{outOfRange(field, 0, 255)};
        frame[at] = char(int(n));
        return {};
    }
    case Kind::Word: {
        const auto value = WriteEncoding::parseNumber(page.text(field.control));
        if (!value)
            return Error{tr("%1: not a number").arg(fieldName(field))};
        // The word's range is the one the BMS reads back; beyond it the value
        // would wrap silently (700.00 V would arrive as 44.64 V).
        const double low = field.isSigned ? -32768 : 0;
        const double high = field.isSigned ? 32767 : 65535;
        const double n = WriteEncoding::scaledValue(*value, field.scale);
        if (n < low || n > high)
            return Error{outOfRange(field, qMin(low / field.scale, high / field.scale),
                                    qMax(low / field.scale, high / field.scale))};
        WriteEncoding::putScaledWord(*value, frame, at, field.scale);
        return {};
    }
    }
    return {};
}
