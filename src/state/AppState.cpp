#include "state/AppState.h"

#include "i18n/Language.h"

AppState::AppState(UserPrompt &prompt, const std::function<void(AppState &)> &defineForms,
                   QObject *parent)
    : QObject(parent), prompt(prompt)
{
    if (defineForms)
        defineForms(*this);
    Language::install(false);
}

void AppState::setEnglishUi(bool english)
{
    m_englishUi = english ? 1 : 0;
    Language::install(english);
    emit languageChanged();
}

void AppState::setStatusLine(const QString &text)
{
    if (m_statusLine == text)
        return;
    m_statusLine = text;
    emit statusLineChanged(text);
}
