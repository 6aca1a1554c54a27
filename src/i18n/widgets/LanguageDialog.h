#pragma once

#include <QDialog>

class AppState;
class QButtonGroup;
class QPushButton;
class QRadioButton;

// The language choice. Its own texts name both languages and never change, so
// a user who cannot read the current language still finds the other one. Not
// modal; it stays open after OK.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    explicit LanguageDialog(AppState &state, QWidget *parent = nullptr);

    // Shows the dialog with the option of the language in force selected (when
    // it was not showing already) and brings it to the front.
    void present();
    // The OK button: switch the language, remember it, re-caption the window.
    void confirm();

    QRadioButton *chineseOption() const { return m_chinese; }
    QRadioButton *englishOption() const { return m_english; }
    QPushButton *okButton() const { return m_ok; }

private:
    void selectCurrentLanguage();

    AppState &m_state;
    QButtonGroup *m_group = nullptr;
    QRadioButton *m_chinese = nullptr;
    QRadioButton *m_english = nullptr;
    QPushButton *m_ok = nullptr;
};
