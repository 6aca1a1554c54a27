#pragma once

#include "base/UserPrompt.h"

#include <QString>
#include <QStringList>

#include <functional>

// The program's messages and questions on a terminal. A message goes to
// whoever runs the command (it decides whether it means success or failure);
// a question is answered Yes only when the command line said --yes, since
// nobody may be there to answer it; there is no file dialog.
class ConsolePrompt : public UserPrompt {
public:
    using Listener = std::function<void(const QString &text, Icon icon)>;

    void setListener(Listener listener) { m_listener = std::move(listener); }
    void setAnswerYes(bool yes) { m_yes = yes; }

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &title, const QString &text) override;
    QString openFileName(const QString &filter, const QString &startFolder) override;

    // Questions that were refused because --yes was not given.
    QStringList refusedQuestions() const { return m_refused; }

private:
    Listener m_listener;
    bool m_yes = false;
    QStringList m_refused;
};
