#include "records/RecordForm.h"

#include "base/Form.h"

void defineRecordForm(Form &form)
{
    using namespace RecordField;
    form.addCheck(recording);
    form.addText(path);
    form.addText(progressText);
    form.addValue(progress, 0, 100, 0);
    form.addText(outputFolder);
    for (const QString &b : {selectFile, latestFile, convert, openExport, openFolder})
        form.addButton(b);
}
