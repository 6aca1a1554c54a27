#pragma once

#include "base/UserPrompt.h"

#include <QPointer>

class QWidget;

// Real dialogs: message boxes with one OK button (shown without waiting),
// Yes/No questions and the file dialogs (which wait: only the user's own
// actions ask them), all centred on the main window once it exists.
class GuiPrompt : public UserPrompt {
public:
    static QString defaultTitle();

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, const QString &title = {}, Icon icon = Icon::None) override;
    bool question(const QString &title, const QString &text) override;
    QString openFileName(const QString &filter, const QString &startFolder = {}) override;
    QString saveFileName(const QString &filter, const QString &suggestedPath = {}) override;

private:
    QPointer<QWidget> m_parent;
};
