#include "profiles/widgets/ProfileApplyDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ProfileApplyDialog::ProfileApplyDialog(QWidget *parent)
    : QDialog(parent), m_file(new QLabel(this)), m_differing(new QRadioButton(this)),
      m_everything(new QRadioButton(this)), m_identity(new QCheckBox(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("ProfileApplyDialog"));
    m_file->setWordWrap(true);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_differing->setChecked(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_differing);
    layout->addWidget(m_everything);
    layout->addWidget(m_identity);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    applyCaptions();
}

void ProfileApplyDialog::present(const QString &profilePath)
{
    m_path = profilePath;
    // Every apply starts from the cautious choice.
    m_differing->setChecked(true);
    m_identity->setChecked(false);
    applyCaptions();
    setModal(true);
    show();
    raise();
    activateWindow();
    m_differing->setFocus();
}

ProfileSession::ApplyOptions ProfileApplyDialog::options() const
{
    return {m_identity->isChecked(), m_everything->isChecked()};
}

void ProfileApplyDialog::applyCaptions()
{
    setWindowTitle(tr("Apply to pack"));
    m_file->setText(tr("Profile: %1").arg(QFileInfo(m_path).fileName()));
    m_differing->setText(tr("Write only the items that differ"));
    m_everything->setText(tr("Write every item"));
    m_identity->setText(tr("Also write the identity (project number, battery ID, dates, batch)"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Apply"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    for (QAbstractButton *b :
         {static_cast<QAbstractButton *>(m_differing), static_cast<QAbstractButton *>(m_everything),
          static_cast<QAbstractButton *>(m_identity)})
        b->setAccessibleName(b->text());
}
