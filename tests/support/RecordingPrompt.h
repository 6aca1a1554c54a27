#pragma once

#include "base/UserPrompt.h"

#include <QList>
#include <QStringList>

// Records every message, question and file dialog instead of showing it.
class RecordingPrompt : public UserPrompt {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::None;
    };
    struct Question {
        QString title;
        QString text;
    };

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &title, const QString &text) override;
    QString openFileName(const QString &filter, const QString &startFolder) override;
    QString saveFileName(const QString &filter, const QString &suggestedPath) override;

    QStringList texts() const;
    void clear();

    QList<Message> messages;
    QList<Question> questions;
    QStringList fileFilters;
    bool answer = true;          // the reply to every question
    QString nextFile;            // what the next file dialog returns ("" = cancel)
    QStringList saveSuggestions; // the paths the save dialogs started at
    QString nextSaveFile;        // what the next save dialog returns ("" = cancel)
};
