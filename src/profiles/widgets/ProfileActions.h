#pragma once

#include "profiles/ProfileSession.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class ProfileApplyDialog;
class ProfileCompareDialog;
class ProfileReportDialog;
class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QWidget;
class UpgradeController;
class UserPrompt;

// The window's side of settings profiles: the "profile" menu, the Save
// profile buttons of the parameter and system pages, the backup offered
// before an upgrade, and the dialogs that show what a run found. The pages
// are given from outside; nothing of them is changed but the controls added.
class ProfileActions : public QObject {
    Q_OBJECT
public:
    // The upgrade page is watched for the backup it offers before a start.
    ProfileActions(ProfileSession::Parts parts, UpgradeController &upgrade, UserPrompt &prompt,
                   QWidget *window);
    ~ProfileActions() override;

    QMenu *menu() const { return m_menu; }
    QAction *saveAction() const { return m_save; }
    QAction *openAction() const { return m_open; }
    QAction *compareAction() const { return m_compare; }
    QAction *applyAction() const { return m_apply; }

    // Which page a Save profile button is on: screen readers tell the two
    // apart by it.
    enum class Page { Parameters, System };
    // A "Save profile..." button in the free bottom right corner of `page`.
    QPushButton *addSaveButton(QWidget *page, Page which);
    // "Save a profile of this pack first" below the upgrade page's frame, and
    // the backup it asks for before every upgrade.
    QCheckBox *addUpgradeBackup(QWidget *upgradePage);

    void saveProfile();
    void openProfile();
    void compareWithPack();
    void applyToPack();

    ProfileSession &session() { return m_session; }
    // Null until first shown.
    ProfileCompareDialog *compareDialog() const;
    ProfileApplyDialog *applyDialog() const;
    ProfileReportDialog *reportDialog() const;
    // The last backup made before an upgrade; "" when none.
    QString backupPath() const { return m_backupPath; }

    // "<data folder>/profiles", "" when the program has no data folder.
    static QString profilesFolder();
    static QString fileFilter();

    void applyCaptions();

private:
    enum class After { None, Save, Compare, Apply, Backup };
    bool eventFilter(QObject *watched, QEvent *event) override;
    void place(QWidget *page);
    void run(After after, const std::function<bool()> &start);
    void onFinished(const ProfileSession::Result &result);
    void backupDone(const ProfileSession::Result &result);
    void offerCompareWithBackup();
    void startApply();
    void setBusy(bool busy);
    QString askOpen();

    AppState &m_state;
    UpgradeController &m_upgrade;
    UserPrompt &m_prompt;
    QWidget *m_window = nullptr;
    ProfileSession m_session;
    After m_after = After::None;
    QMenu *m_menu = nullptr;
    QAction *m_save = nullptr;
    QAction *m_open = nullptr;
    QAction *m_compare = nullptr;
    QAction *m_apply = nullptr;
    struct SaveButton {
        QPointer<QPushButton> button;
        Page page;
    };
    QList<SaveButton> m_saveButtons;
    QPointer<QCheckBox> m_backupBox;
    QPointer<ProfileCompareDialog> m_compareDialog;
    QPointer<ProfileApplyDialog> m_applyDialog;
    QPointer<ProfileReportDialog> m_reportDialog;
    std::function<void()> m_proceed;
    QString m_backupPath;
};
