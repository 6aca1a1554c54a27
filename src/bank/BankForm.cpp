#include "bank/BankForm.h"

#include "base/Form.h"

void defineBankForm(Form &form)
{
    using namespace BankField;
    for (const QString &name : {status, voltage, current, soc, difference, recordPath})
        form.addText(name);
    form.addCheck(record);
    form.addButton(exportButton);
    form.addValue(exportProgress, 0, 100);
}
