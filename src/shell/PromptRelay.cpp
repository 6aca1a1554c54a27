#include "shell/PromptRelay.h"

void PromptRelay::message(const QString &text, const QString &title, Icon icon)
{
    if (m_catcher) {
        // A copy: the catcher may release itself.
        const Catcher catcher = m_catcher;
        catcher(text);
        return;
    }
    m_target.message(text, title, icon);
}

bool PromptRelay::question(const QString &title, const QString &text)
{
    return m_target.question(title, text);
}

QString PromptRelay::openFileName(const QString &filter, const QString &startFolder)
{
    return m_target.openFileName(filter, startFolder);
}

QString PromptRelay::saveFileName(const QString &filter, const QString &startPath)
{
    return m_target.saveFileName(filter, startPath);
}
