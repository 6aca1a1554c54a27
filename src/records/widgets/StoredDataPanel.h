#pragma once

#include "base/widgets/Panel.h"

class AppState;
class StoredRecords;

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The "store data" page: reads the BMS's history records into a grid and
// exports them to a workbook.
class StoredDataPanel : public Panel {
    Q_OBJECT
public:
    StoredDataPanel(AppState &appState, StoredRecords &stored, QWidget *parent = nullptr);
    // Also rebuilds the grid header in the new language; the grid starts
    // empty again while the rows read stay exportable.
    void applyCaptions() override;

private:
    AppState &m_state;
    StoredRecords &m_stored;
    void buildHeader();
    void showRows();

    QPushButton *m_countButton = nullptr;
    QPushButton *m_getData = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_openFolder = nullptr;
    QLabel *m_folderLabel = nullptr;
    QWidget *m_folder = nullptr;
    QPushButton *m_stop = nullptr;
    QLabel *m_readLabel = nullptr;
    QProgressBar *m_readBar = nullptr;
    QLabel *m_readCount = nullptr;
    QLabel *m_readTime = nullptr;
    QLabel *m_countLabel = nullptr;
    QLabel *m_progressLabel = nullptr;
    QTableWidget *m_grid = nullptr;
    int m_shownGeneration = -1;
    int m_shownRows = 0;
};
