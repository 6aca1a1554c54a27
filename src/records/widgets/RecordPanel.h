#pragma once

#include "base/widgets/Panel.h"

class AppState;
class Recorder;

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The "other settings " page: live recording to a text file and the
// conversion of a recording into a workbook.
class RecordPanel : public Panel {
    Q_OBJECT
public:
    RecordPanel(AppState &appState, Recorder &recorder, QWidget *parent = nullptr);
    void applyCaptions() override;

private:
    AppState &m_state;
    Recorder &m_recorder;
    QGroupBox *m_frame = nullptr;
    QCheckBox *m_recording = nullptr;
    QLabel *m_hint = nullptr;
    QLabel *m_pathLabel = nullptr;
    QLabel *m_progressLabel = nullptr;
    QPushButton *m_selectFile = nullptr;
    QPushButton *m_latestFile = nullptr;
    QPushButton *m_convert = nullptr;
    QPushButton *m_openExport = nullptr;
    QPushButton *m_openFolder = nullptr;
    QLabel *m_folderLabel = nullptr;
    QWidget *m_folder = nullptr;
    QWidget *m_path = nullptr;
    QWidget *m_progress = nullptr;
};
