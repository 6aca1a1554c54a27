#pragma once

#include "base/UserPrompt.h"

#include <functional>

// The prompt the core's parts talk to. It passes everything to the program's
// own prompt, except while a part that runs a series of exchanges for itself
// (a settings profile being read or applied) takes the messages: every
// exchange ends with one, and that part reports the series as a whole instead
// of a box per exchange.
class PromptRelay : public UserPrompt {
public:
    using Catcher = std::function<void(const QString &text)>;

    explicit PromptRelay(UserPrompt &target) : m_target(target) {}

    UserPrompt &target() { return m_target; }
    // Messages go to `catcher` until it is released; questions and file
    // dialogs are always shown.
    void catchMessages(Catcher catcher) { m_catcher = std::move(catcher); }
    void releaseMessages() { m_catcher = nullptr; }
    bool catching() const { return bool(m_catcher); }

    void message(const QString &text, const QString &title = {}, Icon icon = Icon::None) override;
    bool question(const QString &title, const QString &text) override;
    QString openFileName(const QString &filter, const QString &startFolder = {}) override;
    QString saveFileName(const QString &filter, const QString &startPath = {}) override;

private:
    UserPrompt &m_target;
    Catcher m_catcher;
};
