#pragma once

#include "profiles/ProfileSession.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;

// Apply's choices, asked before anything is read or sent: only what differs
// or every item, and whether the pack's identity is written too.
class ProfileApplyDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProfileApplyDialog(QWidget *parent = nullptr);

    void present(const QString &profilePath);
    ProfileSession::ApplyOptions options() const;
    QString profilePath() const { return m_path; }

    QRadioButton *differingOption() const { return m_differing; }
    QRadioButton *everythingOption() const { return m_everything; }
    QCheckBox *identityBox() const { return m_identity; }
    void applyCaptions();

private:
    QString m_path;
    QLabel *m_file = nullptr;
    QRadioButton *m_differing = nullptr;
    QRadioButton *m_everything = nullptr;
    QCheckBox *m_identity = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
