#pragma once

#include "base/widgets/Panel.h"

class AppState;
class SystemCommands;

#include <QList>

#include <array>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The "system" page: the pack's identity and configuration settings in
// thirteen framed groups, each item with a Read and a Write button
// ("Command1" .. "Command40"). The page is a view of AppState::system; its
// buttons only hand over to SystemCommands.
class SystemPanel : public Panel {
    Q_OBJECT
public:
    SystemPanel(AppState &appState, SystemCommands &systemCommands, QWidget *parent = nullptr);
    void applyCaptions() override;

    static constexpr int buttonCount = 40;

    struct FieldSpec;

private:
    AppState &m_state;
    SystemCommands &m_commands;
    // A caption that follows the language: a frame title, a label or an
    // option button's text. `source` is the English text; null keeps the text
    // the widget was made with (it reads the same in both languages).
    struct Caption {
        QWidget *widget;
        const char *source;
    };
    // A value widget and the caption that names it for assistive tools.
    struct NamedField {
        QWidget *field;
        QWidget *caption;
        QWidget *column = nullptr; // a grid's column caption, after the row's
    };

    // A framed group at the foot of `column`; returns the group's grid.
    QGridLayout *addGroup(QVBoxLayout *column, const char *frameName, const char *title);
    // A caption label; `translate` false keeps `source` in both languages.
    QLabel *addLabel(QWidget *parent, const char *objectName, const char *source,
                     bool translate = true);
    QWidget *makeField(const FieldSpec &spec, QWidget *parent);
    // Adds the rows of `fields` (caption left, value right) from `firstRow` on.
    void addFields(QGridLayout *grid, int firstRow, const QList<FieldSpec> &fields);
    // Read and Write right of the fields in grid column `column`, spanning
    // `rowSpan` rows; they are named by what they do (their status texts).
    void addButtonPair(QGridLayout *grid, int row, int rowSpan, int read, int write,
                       Qt::Orientation orientation, int column = 2);
    // Option buttons, `perRow` to a row, bound to the choice `control`.
    void addOptions(QGridLayout *grid, int row, int perRow, const QString &control,
                    const QList<const char *> &sources);
    void addActiveBalancing(QGridLayout *grid);

    QComboBox *m_parity = nullptr;

    QList<Caption> m_captions;
    QList<NamedField> m_namedFields;
    std::array<QPushButton *, buttonCount + 1> m_buttons{}; // [n] is "Command<n>"
};
