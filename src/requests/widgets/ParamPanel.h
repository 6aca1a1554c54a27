#pragma once

#include "base/widgets/Panel.h"
#include "requests/ParamForm.h"

class AppState;
class ParamCommands;

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The "parameters" page: the seventeen alarm and protection rows with their
// own Read and Write buttons, Read All / Write All / clear, and the two
// short-circuit levels. The page is a view of AppState::param; its buttons
// only hand over to ParamCommands.
class ParamPanel : public Panel {
    Q_OBJECT
public:
    ParamPanel(AppState &appState, ParamCommands &paramCommands, QWidget *parent = nullptr);
    void applyCaptions() override;

    // Grid columns left to right, the row caption first; the Read and Write
    // buttons follow them.
    static constexpr int columnCount = 13;

private:
    AppState &m_state;
    ParamCommands &m_commands;
    struct Row {
        std::array<QWidget *, columnCount> cells{};
        QPushButton *read = nullptr;
        QPushButton *write = nullptr;
    };

    QWidget *makeCell(int row, int column);
    QPushButton *makeButton(const QString &control, std::function<void()> action);
    QLabel *makeLabel(const QString &objectName);
    QLineEdit *makeLevelBox(const QString &control, QLabel *label);

    QGroupBox *m_alarmFrame = nullptr;
    std::array<QLabel *, columnCount> m_headers{};
    std::array<Row, ParamField::rows> m_rows;
    QPushButton *m_readAll = nullptr;
    QPushButton *m_writeAll = nullptr;
    QPushButton *m_clear = nullptr;
    QGroupBox *m_shortFrame = nullptr;
    QLabel *m_shortVoltageLabel = nullptr;
    QLabel *m_shortDelayLabel = nullptr;
    QLineEdit *m_shortVoltage = nullptr;
    QLineEdit *m_shortDelay = nullptr;
    QPushButton *m_shortRead = nullptr;
    QPushButton *m_shortWrite = nullptr;
};
