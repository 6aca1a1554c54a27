#pragma once

#include <QString>

// Every message box, question and file dialog of the program goes through this
// interface: the window shows real dialogs, tests record what would be shown.
// A message always has exactly one OK button and blocks the window until it is
// read, but message() returns at once: it is called from timer ticks and from
// answers being dispatched, which must not run an event loop of their own.
// Questions and file dialogs wait for the answer; only the user's own actions
// (a button, a menu) ask them.
class UserPrompt {
public:
    enum class Icon { None, Information, Warning };

    virtual ~UserPrompt() = default;

    // An empty title means the program's default title.
    virtual void message(const QString &text, const QString &title = {},
                         Icon icon = Icon::None) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const QString &title, const QString &text) = 0;
    // A file-open dialog; `filter` in Qt's form ("Batch Files (*.bin)").
    // Returns the chosen path, or "" when the user cancels.
    virtual QString openFileName(const QString &filter, const QString &startFolder = {}) = 0;
    // A file-save dialog that starts at `suggestedPath` and asks before an
    // existing file is replaced. Returns the chosen path, or "" when the user
    // cancels; a prompt with no way to ask gives "".
    virtual QString saveFileName(const QString &filter, const QString &suggestedPath = {})
    {
        Q_UNUSED(filter);
        Q_UNUSED(suggestedPath);
        return {};
    }
};
