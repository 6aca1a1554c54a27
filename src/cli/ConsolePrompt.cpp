#include "cli/ConsolePrompt.h"

void ConsolePrompt::message(const QString &text, const QString &title, Icon icon)
{
    Q_UNUSED(title);
    if (m_listener)
        m_listener(text, icon);
}

bool ConsolePrompt::question(const QString &title, const QString &text)
{
    Q_UNUSED(title);
    if (!m_yes)
        m_refused << text;
    return m_yes;
}

QString ConsolePrompt::openFileName(const QString &filter, const QString &startFolder)
{
    Q_UNUSED(filter);
    Q_UNUSED(startFolder);
    return {};
}
