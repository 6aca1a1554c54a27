#include "base/widgets/FormBinder.h"

#include "base/Form.h"
#include "base/widgets/ValueLabelAccessible.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>

namespace {
// Holds a list's display function, and the entries it shows, for as long as
// the list lives.
class ComboDisplay : public QObject {
public:
    ComboDisplay(QObject *parent, std::function<QString(const QString &)> fn)
        : QObject(parent), display(std::move(fn))
    {
    }
    std::function<QString(const QString &)> display;
    QStringList shown;
};

ComboDisplay *displayOf(QComboBox *combo)
{
    for (QObject *child : combo->children())
        if (auto *d = dynamic_cast<ComboDisplay *>(child))
            return d;
    return nullptr;
}

// A form's check state is 0 clear, 1 ticked, 2 grey; Qt numbers the last two
// the other way round.
Qt::CheckState toQtCheckState(int state)
{
    return state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int fromQtCheckState(Qt::CheckState state)
{
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

// Calls `update` now and whenever `control` of `form` changes, for as long as
// `widget` lives.
void follow(QWidget *widget, Form &form, const QString &control, std::function<void()> update)
{
    update();
    QObject::connect(&form, &Form::changed, widget, [control, update](const QString &changed) {
        if (changed == control)
            update();
    });
}
} // namespace

namespace FormBinder {

void bindEnabled(QWidget *widget, Form &form, const QString &control)
{
    if (widget->objectName().isEmpty())
        widget->setObjectName(control);
    follow(widget, form, control,
           [widget, &form, control] { widget->setEnabled(form.isEnabled(control)); });
}

void bindLineEdit(QLineEdit *edit, Form &form, const QString &control)
{
    bindEnabled(edit, form, control);
    const auto show = [edit, &form, control] {
        const QString text = form.text(control);
        if (edit->text() != text) {
            {
                const QSignalBlocker block(edit);
                edit->setText(text);
                edit->setCursorPosition(0);
            }
            // A box with a length limit cuts a longer text; the form then
            // holds what the box shows, so a write sends what is seen.
            if (text.size() > edit->maxLength())
                form.setText(control, edit->text());
        }
    };
    follow(edit, form, control, show);
    // textChanged, not textEdited: a text set by assistive technology, a test
    // tool or an undo reaches the form as well as typing does. A read-only box
    // displays values from the pack; assistive technology can still set its
    // text, which is undone so that the box keeps showing what was received.
    QObject::connect(edit, &QLineEdit::textChanged, &form,
                     [edit, &form, control, show](const QString &text) {
                         if (edit->isReadOnly())
                             show();
                         else
                             form.setText(control, text);
                     });
}

void bindPlainText(QPlainTextEdit *edit, Form &form, const QString &control)
{
    bindEnabled(edit, form, control);
    const auto show = [edit, &form, control] {
        // Lines in the form end with CR LF; a text document would take the CR
        // for a line break of its own and show an empty line after each.
        QString text = form.text(control);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (edit->toPlainText() != text) {
            const QSignalBlocker block(edit);
            edit->setPlainText(text);
        }
    };
    follow(edit, form, control, show);
    // As for a line box: a read-only box goes back to its form's text.
    QObject::connect(edit, &QPlainTextEdit::textChanged, &form, [edit, &form, control, show] {
        if (edit->isReadOnly())
            show();
        else
            form.setText(control, edit->toPlainText());
    });
}

void bindLabel(QLabel *label, Form &form, const QString &control)
{
    ValueLabelAccessible::mark(label);
    bindEnabled(label, form, control);
    follow(label, form, control, [label, &form, control] {
        const QString before = label->text();
        label->setText(form.text(control));
        ValueLabelAccessible::notifyChanged(label, before);
    });
}

void bindCheckBox(QCheckBox *box, Form &form, const QString &control)
{
    bindEnabled(box, form, control);
    follow(box, form, control, [box, &form, control] {
        const Qt::CheckState state = toQtCheckState(form.check(control));
        if (box->checkState() != state) {
            const QSignalBlocker block(box);
            box->setCheckState(state);
        }
    });
    // Every change of state, not only a click: the toggle action of assistive
    // technology and setChecked() emit no clicked().
    QObject::connect(box, &QCheckBox::stateChanged, &form, [box, &form, control] {
        form.setCheck(control, fromQtCheckState(box->checkState()));
    });
}

void retranslateCombo(QComboBox *combo, Form &form, const QString &control)
{
    const QSignalBlocker block(combo);
    const QStringList entries = form.entries(control);
    ComboDisplay *d = displayOf(combo);
    combo->clear();
    for (const QString &e : entries)
        combo->addItem(d && d->display ? d->display(e) : e);
    combo->setCurrentIndex(form.choice(control));
    if (d)
        d->shown = entries;
}

void bindCombo(QComboBox *combo, Form &form, const QString &control,
               std::function<QString(const QString &)> display)
{
    new ComboDisplay(combo, std::move(display));
    bindEnabled(combo, form, control);
    follow(combo, form, control, [combo, &form, control] {
        // A new port list can have as many entries as the old one, so the
        // entries themselves are compared, not their number.
        const ComboDisplay *d = displayOf(combo);
        if (!d || d->shown != form.entries(control) || combo->count() != d->shown.size()) {
            retranslateCombo(combo, form, control);
        } else if (combo->currentIndex() != form.choice(control)) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(form.choice(control));
        }
    });
    // Any new selection, also one made by keyboard search, assistive
    // technology or setCurrentIndex(); the form's own changes arrive blocked.
    QObject::connect(combo, &QComboBox::currentIndexChanged, &form,
                     [combo, &form, control](int index) {
                         if (!form.setChoice(control, index)) {
                             const QSignalBlocker block(combo);
                             combo->setCurrentIndex(form.choice(control));
                         }
                     });
}

void bindEditableCombo(QComboBox *combo, Form &form, const QString &control)
{
    combo->setEditable(true);
    combo->addItems(form.entries(control));
    bindEnabled(combo, form, control);
    follow(combo, form, control, [combo, &form, control] {
        const QString text = form.text(control);
        if (combo->currentText() != text) {
            const QSignalBlocker block(combo);
            combo->setEditText(text);
        }
    });
    QObject::connect(combo, &QComboBox::currentTextChanged, &form,
                     [&form, control](const QString &text) { form.setText(control, text); });
}

void bindOptions(QButtonGroup *group, Form &form, const QString &control)
{
    group->setExclusive(true);
    const auto buttons = group->buttons();
    for (QAbstractButton *b : buttons) {
        const int id = group->id(b);
        if (b->objectName().isEmpty())
            b->setObjectName(QStringLiteral("%1_%2").arg(control).arg(id));
        QWidget *w = b;
        follow(w, form, control, [b, &form, control] { b->setEnabled(form.isEnabled(control)); });
    }
    auto update = [group, &form, control] {
        const int index = form.choice(control);
        QAbstractButton *b = group->button(index);
        if (b && !b->isChecked()) {
            const QSignalBlocker block(group);
            b->setChecked(true);
        } else if (!b && group->checkedButton()) {
            const QSignalBlocker block(group);
            group->setExclusive(false);
            group->checkedButton()->setChecked(false);
            group->setExclusive(true);
        }
    };
    update();
    QObject::connect(&form, &Form::changed, group, [control, update](const QString &changed) {
        if (changed == control)
            update();
    });
    // The button that becomes checked, however it came to be: a click, the
    // keyboard, the toggle action of assistive technology or setChecked().
    QObject::connect(group, &QButtonGroup::idToggled, &form,
                     [&form, control, update](int id, bool on) {
                         if (on && !form.setChoice(control, id))
                             update(); // a choice the form refuses is not shown either
                     });
}

void bindProgress(QProgressBar *bar, Form &form, const QString &control)
{
    bar->setRange(0, 100);
    bindEnabled(bar, form, control);
    follow(bar, form, control, [bar, &form, control] { bar->setValue(form.value(control)); });
}

} // namespace FormBinder
