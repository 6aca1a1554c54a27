#include "profiles/widgets/ProfileReportDialog.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProfileReportDialog::ProfileReportDialog(QWidget *parent)
    : QDialog(parent), m_text(new QPlainTextEdit(this)), m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("ProfileReportDialog"));
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(640, 480);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    m_close->setDefault(true);
    applyCaptions();
}

void ProfileReportDialog::present(const QString &text)
{
    m_text->setPlainText(text);
    show();
    raise();
    activateWindow();
    m_text->setFocus();
}

QString ProfileReportDialog::text() const
{
    return m_text->toPlainText();
}

void ProfileReportDialog::applyCaptions()
{
    setWindowTitle(tr("Apply to pack"));
    m_text->setAccessibleName(tr("Apply report"));
    m_close->setText(tr("Close"));
}
