#include "profiles/widgets/ProfileActions.h"

#include "base/UserPrompt.h"
#include "profiles/ProfileFile.h"
#include "profiles/widgets/ProfileApplyDialog.h"
#include "profiles/widgets/ProfileCompareDialog.h"
#include "profiles/widgets/ProfileReportDialog.h"
#include "records/DataLocations.h"
#include "responses/InfoForm.h"
#include "state/AppState.h"
#include "upgrade/UpgradeController.h"
#include "upgrade/UpgradeForm.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int margin = 6;
} // namespace

ProfileActions::ProfileActions(ProfileSession::Parts parts, UpgradeController &upgrade,
                               UserPrompt &prompt, QWidget *window)
    : QObject(window), m_state(parts.state), m_upgrade(upgrade), m_prompt(prompt), m_window(window),
      m_session(std::move(parts), prompt), m_menu(new QMenu(window))
{
    m_menu->setObjectName(QStringLiteral("ProfileMenu"));
    m_save = m_menu->addAction(QString(), this, &ProfileActions::saveProfile);
    m_open = m_menu->addAction(QString(), this, &ProfileActions::openProfile);
    m_menu->addSeparator();
    m_compare = m_menu->addAction(QString(), this, &ProfileActions::compareWithPack);
    m_apply = m_menu->addAction(QString(), this, &ProfileActions::applyToPack);
    connect(&m_session, &ProfileSession::finished, this, &ProfileActions::onFinished);
    connect(&m_state, &AppState::languageChanged, this, &ProfileActions::applyCaptions);

    m_upgrade.setSucceededHook([this] {
        // After the upgrade's own message, outside its answer's dispatch.
        if (!m_backupPath.isEmpty())
            QTimer::singleShot(0, this, &ProfileActions::offerCompareWithBackup);
    });
    applyCaptions();
}

ProfileActions::~ProfileActions()
{
    m_upgrade.setStartGate(nullptr);
    m_upgrade.setSucceededHook(nullptr);
}

ProfileCompareDialog *ProfileActions::compareDialog() const
{
    return m_compareDialog;
}
ProfileApplyDialog *ProfileActions::applyDialog() const
{
    return m_applyDialog;
}
ProfileReportDialog *ProfileActions::reportDialog() const
{
    return m_reportDialog;
}

QString ProfileActions::profilesFolder()
{
    return DataLocations::outputFolder(QStringLiteral("profiles"));
}

QString ProfileActions::fileFilter()
{
    return tr("Settings profiles (*%1)").arg(ProfileFile::suffix);
}

QPushButton *ProfileActions::addSaveButton(QWidget *page, Page which)
{
    auto *button = new QPushButton(page);
    button->setObjectName(QStringLiteral("SaveProfile"));
    connect(button, &QPushButton::clicked, this, &ProfileActions::saveProfile);
    m_saveButtons.append({button, which});
    page->installEventFilter(this);
    applyCaptions();
    place(page);
    return button;
}

QCheckBox *ProfileActions::addUpgradeBackup(QWidget *upgradePage)
{
    m_backupBox = new QCheckBox(upgradePage);
    m_backupBox->setObjectName(QStringLiteral("ProfileBackup"));
    m_backupBox->setChecked(true);
    upgradePage->installEventFilter(this);
    m_upgrade.setStartGate([this](const std::function<void()> &proceed) {
        if (m_session.busy()) {
            // A profile run has the line; an upgrade now would break both.
            m_prompt.message(tr("A profile is being read or written; start the upgrade when it "
                                "has finished."),
                             {}, UserPrompt::Icon::Warning);
            return true;
        }
        if (!m_backupBox || !m_backupBox->isChecked())
            return false;
        m_proceed = proceed;
        m_backupPath.clear();
        m_state.upgrade.setEnabled(UpgradeField::start, false);
        const QString folder = profilesFolder();
        if (folder.isEmpty()) {
            ProfileSession::Result none;
            none.error = tr("The program has no data folder to save it in.");
            QTimer::singleShot(0, this, [this, none] { backupDone(none); });
            return true;
        }
        run(After::Backup, [this, folder] { return m_session.startSaveInFolder(folder); });
        return true;
    });
    applyCaptions();
    place(upgradePage);
    return m_backupBox;
}

bool ProfileActions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
        event->type() == QEvent::LayoutRequest)
        if (auto *page = qobject_cast<QWidget *>(watched))
            place(page);
    return QObject::eventFilter(watched, event);
}

void ProfileActions::place(QWidget *page)
{
    for (const SaveButton &s : m_saveButtons) {
        QPushButton *b = s.button;
        if (!b || b->parentWidget() != page)
            continue;
        b->adjustSize();
        b->move(page->width() - b->width() - margin, page->height() - b->height() - margin);
        b->raise();
    }
    if (m_backupBox && m_backupBox->parentWidget() == page) {
        m_backupBox->adjustSize();
        const QWidget *frame = page->findChild<QWidget *>(QStringLiteral("Frame1"));
        const QPoint at = frame ? frame->geometry().bottomLeft() + QPoint(margin, 2 * margin)
                                : QPoint(margin, margin);
        m_backupBox->move(at);
        m_backupBox->raise();
    }
}

void ProfileActions::run(After after, const std::function<bool()> &start)
{
    m_after = after;
    setBusy(true);
    if (!start()) {
        m_after = After::None;
        setBusy(false);
    }
}

void ProfileActions::setBusy(bool busy)
{
    for (QAction *a : {m_save, m_open, m_compare, m_apply})
        a->setEnabled(!busy);
    for (const SaveButton &s : m_saveButtons)
        if (s.button)
            s.button->setEnabled(!busy);
}

QString ProfileActions::askOpen()
{
    const QString folder = profilesFolder();
    return m_prompt.openFileName(fileFilter(), folder.isEmpty() ? QString() : folder);
}

void ProfileActions::saveProfile()
{
    if (m_session.busy())
        return;
    const QString folder = profilesFolder();
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    const QString name = ProfileSession::suggestedName(m_state.info.text(InfoField::batteryId),
                                                       QDateTime::currentDateTime());
    QString path =
        m_prompt.saveFileName(fileFilter(), folder.isEmpty() ? name : QDir(folder).filePath(name));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        path += ProfileFile::suffix;
    run(After::Save, [this, path] { return m_session.startSave(path); });
}

void ProfileActions::openProfile()
{
    if (m_session.busy())
        return;
    const QString path = askOpen();
    if (path.isEmpty())
        return;
    const ProfileValidator::Result result = ProfileFile::open(path, m_state.param, m_state.system);
    if (!result.ok()) {
        m_prompt.message(result.message(), {}, UserPrompt::Icon::Warning);
        return;
    }
    m_prompt.message(tr("The parameter and system pages show the profile %1. Nothing was sent; "
                        "the pages' Write buttons write it to the pack.")
                         .arg(path),
                     {}, UserPrompt::Icon::Information);
}

void ProfileActions::compareWithPack()
{
    if (m_session.busy())
        return;
    const QString path = askOpen();
    if (path.isEmpty())
        return;
    run(After::Compare, [this, path] { return m_session.startCompare(path); });
}

void ProfileActions::applyToPack()
{
    if (m_session.busy())
        return;
    const QString path = askOpen();
    if (path.isEmpty())
        return;
    // A file that cannot be used is said at once, before any choice is asked.
    const ProfileValidator::Result loaded = ProfileFile::load(path);
    if (!loaded.ok()) {
        m_prompt.message(loaded.message(), {}, UserPrompt::Icon::Warning);
        return;
    }
    if (!m_applyDialog) {
        m_applyDialog = new ProfileApplyDialog(m_window);
        connect(m_applyDialog, &QDialog::accepted, this, &ProfileActions::startApply);
    }
    m_applyDialog->present(path);
}

void ProfileActions::startApply()
{
    if (!m_applyDialog || m_session.busy())
        return;
    const QString path = m_applyDialog->profilePath();
    const ProfileSession::ApplyOptions options = m_applyDialog->options();
    run(After::Apply, [this, path, options] { return m_session.startApply(path, options); });
}

void ProfileActions::onFinished(const ProfileSession::Result &result)
{
    const After after = m_after;
    m_after = After::None;
    setBusy(false);
    switch (after) {
    case After::Save:
        if (result.ok)
            m_prompt.message(result.report(), {}, UserPrompt::Icon::Information);
        else
            m_prompt.message(result.report(), {}, UserPrompt::Icon::Warning);
        return;
    case After::Compare:
        if (!result.ok) {
            m_prompt.message(result.report(), {}, UserPrompt::Icon::Warning);
            return;
        }
        if (!m_compareDialog)
            m_compareDialog = new ProfileCompareDialog(m_prompt, m_window);
        m_compareDialog->showResult(result.comparison, result.path);
        return;
    case After::Apply:
        if (result.cancelled)
            return;
        if (!m_reportDialog)
            m_reportDialog = new ProfileReportDialog(m_window);
        m_reportDialog->present(result.report());
        return;
    case After::Backup:
        backupDone(result);
        return;
    case After::None:
        return;
    }
}

void ProfileActions::backupDone(const ProfileSession::Result &result)
{
    const std::function<void()> proceed = std::exchange(m_proceed, nullptr);
    m_state.upgrade.setEnabled(UpgradeField::start, true);
    if (result.ok) {
        m_backupPath = result.path;
        m_state.setStatusLine(tr("Profile saved to %1").arg(result.path));
    } else if (!m_prompt.question(tr("Backup failed"),
                                  tr("The profile of this pack could not be saved:\n%1\n\n"
                                     "Upgrade anyway?")
                                      .arg(result.error))) {
        return;
    }
    if (proceed)
        proceed();
}

void ProfileActions::offerCompareWithBackup()
{
    const QString path = std::exchange(m_backupPath, QString());
    if (path.isEmpty() || m_session.busy())
        return;
    if (!m_prompt.question(
            tr("Compare with pack"),
            tr("Compare the pack with the profile saved before the upgrade?\n%1").arg(path)))
        return;
    run(After::Compare, [this, path] { return m_session.startCompare(path); });
}

void ProfileActions::applyCaptions()
{
    m_menu->setTitle(tr("profile"));
    m_save->setText(tr("Save profile..."));
    m_open->setText(tr("Open profile..."));
    m_compare->setText(tr("Compare with pack..."));
    m_apply->setText(tr("Apply to pack..."));
    for (const SaveButton &s : m_saveButtons) {
        QPushButton *b = s.button;
        if (!b)
            continue;
        b->setText(tr("Save profile..."));
        b->setAccessibleName(s.page == Page::Parameters ? tr("Save profile from the parameter page")
                                                        : tr("Save profile from the system page"));
        b->setToolTip(tr("Reads every parameter and system setting from the pack and saves "
                         "them in a profile file"));
        if (QWidget *page = b->parentWidget())
            place(page);
    }
    if (m_backupBox) {
        m_backupBox->setText(tr("Save a profile of this pack first"));
        m_backupBox->setAccessibleName(m_backupBox->text());
        if (QWidget *page = m_backupBox->parentWidget())
            place(page);
    }
    if (m_compareDialog)
        m_compareDialog->applyCaptions();
    if (m_applyDialog)
        m_applyDialog->applyCaptions();
    if (m_reportDialog)
        m_reportDialog->applyCaptions();
}
