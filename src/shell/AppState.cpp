#include "shell/AppState.h"

#include "bank/BankForm.h"
#include "bank/ScanForm.h"
#include "i18n/Language.h"
#include "link/LinkForm.h"
#include "records/RecordForm.h"
#include "records/StoredForm.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "responses/InfoForm.h"
#include "upgrade/UpgradeForm.h"

AppState::AppState(UserPrompt &prompt, QObject *parent) : QObject(parent), prompt(prompt)
{
    defineLinkForm(link);
    defineScanForm(scan);
    defineInfoForm(info);
    defineParamForm(param);
    defineSystemForm(system);
    defineRecordForm(record);
    defineStoredForm(stored);
    defineUpgradeForm(upgrade);
    defineBankForm(bank);
    Language::install(false);
}

void AppState::setEnglishUi(bool english)
{
    m_englishUi = english ? 1 : 0;
    Language::install(english);
    emit languageChanged();
}

void AppState::setStatusLine(const QString &text)
{
    if (m_statusLine == text)
        return;
    m_statusLine = text;
    emit statusLineChanged(text);
}
