#include "shell/widgets/GuiPrompt.h"

#include <QFileDialog>
#include <QMessageBox>

QString GuiPrompt::defaultTitle()
{
    return QStringLiteral("Cellvane");
}

void GuiPrompt::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool GuiPrompt::question(const QString &title, const QString &text)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString GuiPrompt::openFileName(const QString &filter, const QString &startFolder)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), startFolder, filter);
}

QString GuiPrompt::saveFileName(const QString &filter, const QString &suggested)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggested, filter);
}
