#include "i18n/widgets/AboutDialog.h"

#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("about"));
    setModal(false);
    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setWordWrap(true);
    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setWordWrap(true);
    m_label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addWidget(m_label2);
    layout->addStretch();
    setMinimumSize(420, 140);
    applyCaptions();
}

void AboutDialog::applyCaptions()
{
    m_label1->setText(
        tr("1. This software supports conventional UART, 485, 232, and other tools."));
    m_label2->setText(tr("2. For technical support, contact the supplier of your battery pack "
                         "and quote the program version (Cellvane V1.6)."));
}
