#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// The contents of one page as plain data, keyed by the control names the pages
// use ("CS5", "总电压", "充电_0"). The protocol reads and writes forms; widgets
// are views that follow a form and write user edits back, so everything except
// drawing can be exercised without a window.
//
// A control refuses values it cannot show (a check state other than 0..2, an
// option or list position beyond the last entry): the setter then returns false
// and changes nothing, which the response decoders turn into an aborted frame.
class Form : public QObject {
    Q_OBJECT
public:
    enum class Kind { Text, Check, Choice, Value, Button };

    explicit Form(const QString &name, QObject *parent = nullptr);

    QString name() const { return m_name; }

    // Declaring controls; `entries` of a text field are suggestions of an
    // editable list, those of a choice its fixed entries (English source texts;
    // a view translates them where they are words).
    void addText(const QString &control, const QStringList &entries = {});
    void addCheck(const QString &control);
    void addChoice(const QString &control, const QStringList &entries, int index = -1);
    void addValue(const QString &control, int minimum, int maximum, int value = 0);
    void addButton(const QString &control);

    bool has(const QString &control) const { return m_fields.contains(control); }
    Kind kind(const QString &control) const;
    QStringList controls() const { return m_order; }

    QString text(const QString &control) const;
    void setText(const QString &control, const QString &text);

    int check(const QString &control) const;
    bool setCheck(const QString &control, int state);

    int choice(const QString &control) const;
    bool setChoice(const QString &control, int index);
    QStringList entries(const QString &control) const;
    void setEntries(const QString &control, const QStringList &entries, int index = -1);
    // The text of the selected entry, or "" when nothing is selected.
    QString choiceText(const QString &control) const;

    int value(const QString &control) const;
    bool setValue(const QString &control, int value);

    bool isEnabled(const QString &control) const;
    void setEnabled(const QString &control, bool enabled);

    bool isHighlighted(const QString &control) const;
    void setHighlighted(const QString &control, bool highlighted);

signals:
    // Emitted for every change of value, entries, enabled state or highlight.
    void changed(const QString &control);

private:
    struct Field {
        Kind kind = Kind::Text;
        QString text;
        int number = 0; // check state, choice index or value
        int minimum = 0;
        int maximum = 0;
        QStringList entries;
        bool enabled = true;
        bool highlighted = false;
    };
    Field &field(const QString &control);
    const Field &field(const QString &control) const;
    void add(const QString &control, Field f);

    QString m_name;
    QHash<QString, Field> m_fields;
    QStringList m_order;
};
