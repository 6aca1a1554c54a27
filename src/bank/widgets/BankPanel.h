#pragma once

#include "base/widgets/Panel.h"

class AppState;
class BankController;

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// The "packs" page: every pack on the line in one sortable table, the bank's
// lines above it, recording and export below. Choosing a row (double click or
// Enter) makes its address the link page's and opens the information page.
class BankPanel : public Panel {
    Q_OBJECT
public:
    BankPanel(AppState &appState, BankController &bank, QWidget *parent = nullptr);
    void applyCaptions() override;

    QTableView *table() const { return m_table; }
    QSortFilterProxyModel *sortModel() const { return m_sort; }

signals:
    // A row was chosen and its address selected: the host opens the
    // information page.
    void packChosen(int address);

private:
    AppState &m_state;
    BankController &m_bankControl;
    void choose(const QModelIndex &index);
    void fitColumns();

    QGroupBox *m_bankBox = nullptr;
    QLabel *m_status = nullptr;
    QList<QLabel *> m_lines;
    QTableView *m_table = nullptr;
    QSortFilterProxyModel *m_sort = nullptr;
    QLabel *m_hint = nullptr;
    QCheckBox *m_record = nullptr;
    QLabel *m_recordPath = nullptr;
    QPushButton *m_export = nullptr;
    QProgressBar *m_progress = nullptr;
};
