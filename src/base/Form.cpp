#include "base/Form.h"

#include <QtGlobal>

Form::Form(const QString &name, QObject *parent) : QObject(parent), m_name(name) {}

void Form::add(const QString &control, Field f)
{
    Q_ASSERT_X(!m_fields.contains(control), "Form::add", qPrintable(control));
    m_fields.insert(control, std::move(f));
    m_order.append(control);
}

void Form::addText(const QString &control, const QStringList &entries)
{
    Field f;
    f.kind = Kind::Text;
    f.entries = entries;
    add(control, f);
}

void Form::addCheck(const QString &control)
{
    Field f;
    f.kind = Kind::Check;
    f.maximum = 2;
    add(control, f);
}

void Form::addChoice(const QString &control, const QStringList &entries, int index)
{
    Field f;
    f.kind = Kind::Choice;
    f.entries = entries;
    f.number = index;
    add(control, f);
}

void Form::addValue(const QString &control, int minimum, int maximum, int value)
{
    Field f;
    f.kind = Kind::Value;
    f.minimum = minimum;
    f.maximum = maximum;
    f.number = value;
    add(control, f);
}

void Form::addButton(const QString &control)
{
    Field f;
    f.kind = Kind::Button;
    add(control, f);
}

Form::Field &Form::field(const QString &control)
{
    auto it = m_fields.find(control);
    if (it == m_fields.end())
        qFatal("Form %s has no control %s", qPrintable(m_name), qPrintable(control));
    return *it;
}

const Form::Field &Form::field(const QString &control) const
{
    auto it = m_fields.constFind(control);
    if (it == m_fields.cend())
        qFatal("Form %s has no control %s", qPrintable(m_name), qPrintable(control));
    return *it;
}

Form::Kind Form::kind(const QString &control) const
{
    return field(control).kind;
}

QString Form::text(const QString &control) const
{
    return field(control).text;
}

void Form::setText(const QString &control, const QString &text)
{
    Field &f = field(control);
    if (f.text == text)
        return;
    f.text = text;
    emit changed(control);
}

int Form::check(const QString &control) const
{
    return field(control).number;
}

bool Form::setCheck(const QString &control, int state)
{
    Field &f = field(control);
    if (state < 0 || state > 2)
        return false;
    if (f.number != state) {
        f.number = state;
        emit changed(control);
    }
    return true;
}

int Form::choice(const QString &control) const
{
    return field(control).number;
}

bool Form::setChoice(const QString &control, int index)
{
    Field &f = field(control);
    if (index < -1 || index >= f.entries.size())
        return false;
    if (f.number != index) {
        f.number = index;
        emit changed(control);
    }
    return true;
}

QStringList Form::entries(const QString &control) const
{
    return field(control).entries;
}

void Form::setEntries(const QString &control, const QStringList &entries, int index)
{
    Field &f = field(control);
    f.entries = entries;
    f.number = (index >= -1 && index < entries.size()) ? index : -1;
    emit changed(control);
}

QString Form::choiceText(const QString &control) const
{
    const Field &f = field(control);
    return (f.number >= 0 && f.number < f.entries.size()) ? f.entries.at(f.number) : QString();
}

int Form::value(const QString &control) const
{
    return field(control).number;
}

bool Form::setValue(const QString &control, int value)
{
    Field &f = field(control);
    if (value < f.minimum || value > f.maximum)
        return false;
    if (f.number != value) {
        f.number = value;
        emit changed(control);
    }
    return true;
}

bool Form::isEnabled(const QString &control) const
{
    return field(control).enabled;
}

void Form::setEnabled(const QString &control, bool enabled)
{
    Field &f = field(control);
    if (f.enabled == enabled)
        return;
    f.enabled = enabled;
    emit changed(control);
}

bool Form::isHighlighted(const QString &control) const
{
    return field(control).highlighted;
}

void Form::setHighlighted(const QString &control, bool highlighted)
{
    Field &f = field(control);
    if (f.highlighted == highlighted)
        return;
    f.highlighted = highlighted;
    emit changed(control);
}
