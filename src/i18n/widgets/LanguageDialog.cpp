#include "i18n/widgets/LanguageDialog.h"

#include "base/ChineseOnlyText.h"
#include "base/UserPrompt.h"
#include "i18n/SettingsRecord.h"
#include "state/AppState.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

LanguageDialog::LanguageDialog(AppState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("LanguageDialog"));
    setWindowTitle(chineseOnly(ChineseOnlyText::languageDialogTitle));
    setModal(false);

    auto *box = new QGroupBox(this);
    m_chinese = new QRadioButton(chineseOnly(ChineseOnlyText::chineseChoice), box);
    m_chinese->setObjectName(QStringLiteral("语言选择0"));
    m_english = new QRadioButton(QStringLiteral("English"), box);
    m_english->setObjectName(QStringLiteral("语言选择1"));
    m_group = new QButtonGroup(this);
    m_group->addButton(m_chinese, 0);
    m_group->addButton(m_english, 1);
    auto *options = new QVBoxLayout(box);
    options->addWidget(m_chinese);
    options->addWidget(m_english);

    m_ok = new QPushButton(chineseOnly(ChineseOnlyText::languageConfirm), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &LanguageDialog::confirm);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
    setMinimumWidth(260);

    selectCurrentLanguage();
}

void LanguageDialog::selectCurrentLanguage()
{
    (m_state.englishUi() ? m_english : m_chinese)->setChecked(true);
}

void LanguageDialog::present()
{
    if (!isVisible())
        selectCurrentLanguage();
    show();
    raise();
    activateWindow();
}

void LanguageDialog::confirm()
{
    const quint8 english = m_english->isChecked() ? 1 : 0;
    // Switching the language re-captions every page (languageChanged), also
    // when the choice is the one already in force.
    m_state.setEnglishUi(english);
    if (SettingsRecord::rememberLanguage(english) == SettingsRecord::Remembered::Failed)
        m_state.prompt.message(
            tr("The language choice could not be saved in %1; it applies until the program ends.")
                .arg(QDir::toNativeSeparators(SettingsRecord::filePath())),
            QString(), UserPrompt::Icon::Warning);
}
