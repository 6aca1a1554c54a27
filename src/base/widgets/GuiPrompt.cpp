#include "base/widgets/GuiPrompt.h"

#include <QFileDialog>
#include <QMessageBox>

QString GuiPrompt::defaultTitle()
{
    return QStringLiteral("Cellvane");
}

// The box is window-modal but does not wait: messages come from inside a timer
// tick or an answer being dispatched, and a box that ran its own event loop
// there would let the next tick start in the middle of the current one. The
// window stays blocked for input until OK is pressed, as before.
void GuiPrompt::message(const QString &text, const QString &title, Icon icon)
{
    auto *box = new QMessageBox(m_parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    box->setText(text);
    switch (icon) {
    case Icon::None:
        box->setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box->setIcon(QMessageBox::Warning);
        break;
    }
    box->setStandardButtons(QMessageBox::Ok);
    box->setWindowModality(m_parent ? Qt::WindowModal : Qt::ApplicationModal);
    box->open();
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

QString GuiPrompt::saveFileName(const QString &filter, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(m_parent, QString(), suggestedPath, filter);
}
