#include "shell/PageForms.h"

#include "bank/BankForm.h"
#include "bank/ScanForm.h"
#include "link/LinkForm.h"
#include "records/RecordForm.h"
#include "records/StoredForm.h"
#include "requests/ParamForm.h"
#include "requests/SystemForm.h"
#include "responses/InfoForm.h"
#include "state/AppState.h"
#include "upgrade/UpgradeForm.h"

void definePageForms(AppState &state)
{
    defineLinkForm(state.link);
    defineScanForm(state.scan);
    defineInfoForm(state.info);
    defineParamForm(state.param);
    defineSystemForm(state.system);
    defineRecordForm(state.record);
    defineStoredForm(state.stored);
    defineUpgradeForm(state.upgrade);
    defineBankForm(state.bank);
}
