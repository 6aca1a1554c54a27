#pragma once

#include <QString>

#include <functional>

class Form;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

// Binds widgets to form controls: the widget shows the form's value at once and
// every change of the widget's value is written back, however it was made
// (typing, assistive technology, code), so the protocol never reads a widget
// and what is shown is what is sent. Each bound widget gets the control's name
// as objectName, and follows the control's enabled state.
namespace FormBinder {
void bindLineEdit(QLineEdit *edit, Form &form, const QString &control);
void bindPlainText(QPlainTextEdit *edit, Form &form, const QString &control);
// A label that shows a value: assistive technology reads its accessible name
// (or buddy caption) as what it is and its text as the value.
void bindLabel(QLabel *label, Form &form, const QString &control);
void bindCheckBox(QCheckBox *box, Form &form, const QString &control);
// A fixed-entry list bound to a choice. `display` turns an entry into the text
// shown (translation); it is applied again by retranslateCombo().
void bindCombo(QComboBox *combo, Form &form, const QString &control,
               std::function<QString(const QString &)> display = {});
void retranslateCombo(QComboBox *combo, Form &form, const QString &control);
// An editable list bound to a text control; its entries are suggestions.
void bindEditableCombo(QComboBox *combo, Form &form, const QString &control);
// Option buttons bound to a choice: button i selects index i.
void bindOptions(QButtonGroup *group, Form &form, const QString &control);
void bindProgress(QProgressBar *bar, Form &form, const QString &control);
// Buttons and other controls that only follow the enabled state.
void bindEnabled(QWidget *widget, Form &form, const QString &control);
} // namespace FormBinder
