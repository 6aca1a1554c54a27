#include "bank/ScanForm.h"

#include "base/Form.h"

void defineScanForm(Form &form)
{
    form.addButton(ScanField::scan);
    form.setEnabled(ScanField::scan, false); // until the port is open
    form.addValue(ScanField::progress, 0, 100);
    form.addText(ScanField::status);
    form.addText(ScanField::found);
}
