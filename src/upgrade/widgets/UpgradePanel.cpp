#include "upgrade/widgets/UpgradePanel.h"

#include "i18n/widgets/CaptionFit.h"

#include "base/widgets/FormBinder.h"
#include "state/AppState.h"
#include "upgrade/UpgradeController.h"
#include "upgrade/UpgradeForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

UpgradePanel::UpgradePanel(AppState &appState, UpgradeController &upgrade, QWidget *parent)
    : Panel(parent), m_state(appState), m_upgrade(upgrade), m_frame(new QGroupBox(this)),
      m_fileLabel(new QLabel(m_frame)), m_path(new QLineEdit(m_frame)),
      m_chooseFile(new QPushButton(m_frame)), m_targetLabel(new QLabel(m_frame)),
      m_app(new QRadioButton(m_frame)), m_boot(new QRadioButton(m_frame)),
      m_target(new QButtonGroup(this)), m_baudLabel(new QLabel(m_frame)),
      m_baud(new QComboBox(m_frame)), m_start(new QPushButton(m_frame)),
      m_progressLabel(new QLabel(m_frame)), m_percent(new QLabel(m_frame)),
      m_progress(new QProgressBar(m_frame))
{
    setObjectName(QStringLiteral("UpgradePanel"));
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_fileLabel->setObjectName(QStringLiteral("Text3"));
    m_targetLabel->setObjectName(QStringLiteral("Label1"));
    m_baudLabel->setObjectName(QStringLiteral("升级波特率"));
    m_progressLabel->setObjectName(QStringLiteral("Label2"));
    m_fileLabel->setBuddy(m_path);
    m_baudLabel->setBuddy(m_baud);
    m_progressLabel->setBuddy(m_progress);

    Form &form = m_state.upgrade;
    FormBinder::bindLineEdit(m_path, form, UpgradeField::path);
    FormBinder::bindEnabled(m_chooseFile, form, UpgradeField::chooseFile);
    m_target->addButton(m_app, UpgradeField::app);
    m_target->addButton(m_boot, UpgradeField::boot);
    FormBinder::bindOptions(m_target, form, UpgradeField::target);
    FormBinder::bindCombo(m_baud, form, UpgradeField::baud);
    FormBinder::bindEnabled(m_start, form, UpgradeField::start);
    FormBinder::bindLabel(m_percent, form, UpgradeField::progressText);
    FormBinder::bindProgress(m_progress, form, UpgradeField::progress);
    m_progress->setFormat(QStringLiteral("%p%"));
    // The percentage stands beside the bar (jingdu), not in it a second time.
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(360);
    m_path->setMinimumWidth(360);

    connect(m_chooseFile, &QPushButton::clicked, this, [&upgrade] { upgrade.chooseFile(); });
    // However the option came to be checked, the baud list follows at once.
    connect(m_target, &QButtonGroup::idToggled, this, [&upgrade](int id, bool on) {
        if (on)
            upgrade.selectTarget(id);
    });
    connect(m_start, &QPushButton::clicked, this, [&upgrade] { upgrade.start(); });

    auto *grid = new QGridLayout(m_frame);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(18);
    grid->addWidget(m_fileLabel, 0, 0, Qt::AlignRight);
    grid->addWidget(m_path, 0, 1, 1, 2);
    grid->addWidget(m_chooseFile, 0, 3);
    grid->addWidget(m_targetLabel, 1, 0, Qt::AlignRight);
    auto *targets = new QHBoxLayout;
    targets->addWidget(m_app);
    targets->addSpacing(24);
    targets->addWidget(m_boot);
    targets->addStretch();
    grid->addLayout(targets, 1, 1, 1, 2);
    grid->addWidget(m_baudLabel, 2, 0, Qt::AlignRight);
    grid->addWidget(m_baud, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_start, 2, 3);
    grid->addWidget(m_progressLabel, 3, 0, Qt::AlignRight);
    grid->addWidget(m_progress, 3, 1, 1, 2);
    grid->addWidget(m_percent, 3, 3);
    grid->setColumnStretch(2, 1);

    auto *page = new QVBoxLayout(this);
    page->addWidget(m_frame);
    page->addStretch();

    applyCaptions();
}

void UpgradePanel::applyCaptions()
{
    m_frame->setTitle(tr("Upgrade module"));
    m_fileLabel->setText(tr("File directory:"));
    m_chooseFile->setText(tr("Upgrade Files"));
    m_targetLabel->setText(tr("Upgrade Object:"));
    m_app->setText(tr("Upgrade APP"));
    m_boot->setText(tr("Upgrade BOOT"));
    m_baudLabel->setText(tr("Change baud upgrade:"));
    m_start->setText(tr("BMS Upgrade"));
    m_progressLabel->setText(tr("     Progress:"));
    CaptionFit::padButton(m_chooseFile);
    CaptionFit::padButton(m_start);

    // Screen readers name the fields after their captions, without the
    // padding and the trailing colon that line the captions up on screen.
    nameField(m_path, m_fileLabel->text());
    nameField(m_baud, m_baudLabel->text());
    nameField(m_progress, m_progressLabel->text());
    nameField(m_percent, m_progressLabel->text());
    m_chooseFile->setAccessibleName(m_chooseFile->text());
    m_start->setAccessibleName(m_start->text());
    m_app->setAccessibleName(m_app->text());
    m_boot->setAccessibleName(m_boot->text());
}
