#include "records/StoredForm.h"

#include "shell/Form.h"

void defineStoredForm(Form &form)
{
    using namespace StoredField;
    form.addText(count);
    form.addText(exportProgress);
    for (const QString &b : {countButton, getData, exportButton})
        form.addButton(b);
}
