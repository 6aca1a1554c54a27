#pragma once

#include "base/widgets/Panel.h"

class AppState;
class RequestBuilder;

#include <QList>

class QGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "information" page: a read-only dashboard of what the polling cycle
// brings in, and the eight control buttons. Every box is a view of the
// information form; the boxes keep their last value until the next answer.
class InfoPanel : public Panel {
    Q_OBJECT
public:
    InfoPanel(AppState &appState, RequestBuilder &requests, QWidget *parent = nullptr);
    void applyCaptions() override;

    // The widget that shows form control `control` (box or button), or null.
    QWidget *control(const QString &control) const;

private:
    AppState &m_state;
    RequestBuilder &m_requests;
    // One caption the caption routine writes: a label's or group's text, and
    // the accessible name of the widget it names.
    struct Caption {
        QWidget *target = nullptr; // QLabel, QGroupBox or QPushButton
        QWidget *named = nullptr;  // gets the caption as accessible name
        const char *source = nullptr;
        const char *disambiguation = nullptr;
        bool localised = true;
        int number = 0; // > 0: "%1" becomes this number with two digits
    };
    struct Field {
        QString control;
        const char *caption;
        const char *disambiguation = nullptr;
        bool localised = true;
        int number = 0;
    };

    QGroupBox *addGroup(const char *title);
    // Caption in grid column 2 * column, box right of it over columnSpan
    // columns.
    QLineEdit *addBox(QGroupBox *group, QGridLayout *grid, const Field &field, int row, int column,
                      int boxWidth, int columnSpan = 1);
    void addFields(QGroupBox *group, const QList<Field> &fields, int rows, int boxWidth);
    QWidget *buildConditions();
    QWidget *buildControls();
    void showHighlight(QLineEdit *box, const QString &control);

    QList<Caption> m_captions;
    QHash<QString, QWidget *> m_controls;
};
