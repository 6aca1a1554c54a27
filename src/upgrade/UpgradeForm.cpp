#include "upgrade/UpgradeForm.h"

#include "base/Form.h"
#include "link/LinkForm.h"

void defineUpgradeForm(Form &form)
{
    using namespace UpgradeField;
    form.addText(path);
    form.addButton(chooseFile);
    form.addChoice(target, {QStringLiteral("Upgrade APP"), QStringLiteral("Upgrade BOOT")}, app);
    form.addChoice(baud, LinkField::baudRates, 5);
    form.addButton(start);
    form.addText(progressText);
    form.setText(progressText, QStringLiteral("0%"));
    form.addValue(progress, 0, 100, 0);
}
