#include "base/widgets/ValueLabelAccessible.h"

#include <QLabel>
#include <QTextDocumentFragment>

namespace {
constexpr char markProperty[] = "cellvaneValueLabel";

QAccessibleInterface *valueLabelFactory(const QString &className, QObject *object)
{
    // Qt asks with every class name from the most derived one up, so this
    // catches QLabel before Qt's own factory (installed earlier) does.
    if (className == QLatin1String("QLabel") && ValueLabelAccessible::isMarked(object))
        return new ValueLabelAccessible(static_cast<QLabel *>(object));
    return nullptr;
}

QLabel *labelOf(const QAccessibleWidget *iface)
{
    return static_cast<QLabel *>(iface->object());
}
} // namespace

ValueLabelAccessible::ValueLabelAccessible(QLabel *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{
}

void ValueLabelAccessible::mark(QLabel *label)
{
    static const bool installed = [] {
        QAccessible::installFactory(valueLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(markProperty, true);
}

bool ValueLabelAccessible::isMarked(const QObject *object)
{
    return object && object->property(markProperty).toBool();
}

void ValueLabelAccessible::notifyChanged(QLabel *label, const QString &before)
{
    if (!QAccessible::isActive() || label->text() == before)
        return;
    QAccessibleTextUpdateEvent event(label, 0, before, label->text());
    QAccessible::updateAccessibility(&event);
}

QString ValueLabelAccessible::shown() const
{
    const QLabel *label = labelOf(this);
    const QString text = label->text();
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

QString ValueLabelAccessible::text(QAccessible::Text t) const
{
    // The name is found as for any field (accessible name, else the caption
    // whose buddy the label is, else its frame's title); it never repeats the
    // value, which a plain label would fall back to.
    if (t == QAccessible::Value)
        return shown();
    return QAccessibleWidget::text(t);
}

void *ValueLabelAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void ValueLabelAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString ValueLabelAccessible::text(int startOffset, int endOffset) const
{
    const QString s = shown();
    startOffset = qBound(0, startOffset, int(s.size()));
    endOffset = endOffset < 0 ? int(s.size()) : qBound(startOffset, endOffset, int(s.size()));
    return s.mid(startOffset, endOffset - startOffset);
}

int ValueLabelAccessible::characterCount() const
{
    return int(shown().size());
}

QRect ValueLabelAccessible::characterRect(int) const
{
    return {}; // the label lays its text out itself; no position to offer
}

int ValueLabelAccessible::offsetAtPoint(const QPoint &) const
{
    return -1;
}

QString ValueLabelAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
