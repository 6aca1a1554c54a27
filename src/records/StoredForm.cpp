#include "records/StoredForm.h"

#include "base/Form.h"

void defineStoredForm(Form &form)
{
    using namespace StoredField;
    form.addText(count);
    form.addText(exportProgress);
    form.addText(outputFolder);
    for (const QString &b : {countButton, getData, exportButton, openFolder})
        form.addButton(b);
    form.addText(readCount);
    form.addValue(readBar, 0, 100, 0);
    form.addText(readTime);
    form.addButton(stopButton);
    form.setEnabled(stopButton, false); // only while a read-out runs
}
