#include "shell/widgets/Panel.h"

Panel::Panel(Core &core, QWidget *parent) : QWidget(parent), m_core(core) {}

QString Panel::nameFromCaption(const QString &caption)
{
    QString name = caption.trimmed(); // also drops U+3000 padding
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xFF1A)))
        name.chop(1);
    return name.trimmed();
}
