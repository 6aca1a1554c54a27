#pragma once

#include "base/widgets/Panel.h"

class AppState;
class UpgradeController;

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The "BMS upgrade" page: file, target, upgrade baud rate, the upgrade button
// and the progress display. Everything it shows lives in the upgrade form, so
// the transfer itself never touches a widget.
class UpgradePanel : public Panel {
    Q_OBJECT
public:
    UpgradePanel(AppState &appState, UpgradeController &upgrade, QWidget *parent = nullptr);
    void applyCaptions() override;

private:
    AppState &m_state;
    UpgradeController &m_upgrade;
    QGroupBox *m_frame;
    QLabel *m_fileLabel;
    QLineEdit *m_path;
    QPushButton *m_chooseFile;
    QLabel *m_targetLabel;
    QRadioButton *m_app;
    QRadioButton *m_boot;
    QButtonGroup *m_target;
    QLabel *m_baudLabel;
    QComboBox *m_baud;
    QPushButton *m_start;
    QLabel *m_progressLabel;
    QLabel *m_percent;
    QProgressBar *m_progress;
};
