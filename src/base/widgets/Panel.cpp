#include "base/widgets/Panel.h"

#include <QComboBox>
#include <QLineEdit>

Panel::Panel(QWidget *parent) : QWidget(parent) {}

void Panel::nameField(QWidget *field, const QString &caption)
{
    const QString name = nameFromCaption(caption);
    field->setAccessibleName(name);
    if (auto *combo = qobject_cast<QComboBox *>(field)) {
        combo->setAccessibleDescription(name);
        if (QLineEdit *edit = combo->lineEdit())
            edit->setAccessibleName(name);
    }
}

QString Panel::nameFromCaption(const QString &caption)
{
    QString name = caption.trimmed(); // also drops U+3000 padding
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xFF1A)))
        name.chop(1);
    return name.trimmed();
}
