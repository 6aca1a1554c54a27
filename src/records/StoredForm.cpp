#include "records/StoredForm.h"

#include "shell/Form.h"

void defineStoredForm(Form &form)
{
    using namespace StoredField;
    form.addText(count);
    form.addText(exportProgress);
    form.addText(outputFolder);
    for (const QString &b : {countButton, getData, exportButton, openFolder})
        form.addButton(b);
}
