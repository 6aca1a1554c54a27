#pragma once

#include <QAccessibleWidget>

class QLabel;

// What assistive technology finds for a label that shows a value (the BMS
// time, a record count, a percentage). A plain label has only a name, and
// that name is either its caption or the value, never both: once the label is
// named after its caption, the value is hidden from a screen reader. Here the
// name says what the value is (the accessible name, else the caption whose
// buddy the label is) and the value and the read-only text are what is shown.
class ValueLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ValueLabelAccessible(QLabel *label);

    // Makes `label` a value label for assistive technology. Call it before the
    // label is first shown: an interface once handed out stays as it is.
    static void mark(QLabel *label);
    static bool isMarked(const QObject *object);
    // Tells assistive technology that the shown text went from `before` to
    // the label's current text.
    static void notifyChanged(QLabel *label, const QString &before);

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface: the shown text, read-only, without a caret.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QString shown() const;
};
