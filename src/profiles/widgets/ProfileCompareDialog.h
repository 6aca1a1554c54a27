#pragma once

#include "profiles/ProfileCompare.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class UserPrompt;

// A pack against a profile: item, value in the pack, value in the file, unit,
// whether they differ; differing rows first and highlighted, their count
// above the table. The table can be saved as CSV.
class ProfileCompareDialog : public QDialog {
    Q_OBJECT
public:
    ProfileCompareDialog(UserPrompt &prompt, QWidget *parent = nullptr);

    void showResult(const ProfileCompare::Result &result, const QString &profilePath);
    const ProfileCompare::Result &result() const { return m_result; }
    QTableWidget *table() const { return m_table; }
    QLabel *countLabel() const { return m_count; }
    QPushButton *exportButton() const { return m_export; }

    // Asks for a file and writes the table there; false when nothing was written.
    bool exportCsv();
    void applyCaptions();

private:
    void fill();

    UserPrompt &m_prompt;
    ProfileCompare::Result m_result;
    QString m_path;
    QLabel *m_count = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_close = nullptr;
};
