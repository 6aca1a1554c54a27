#include "requests/ParamForm.h"

#include "base/Form.h"

namespace ParamField {
QString cs(int index)
{
    return QStringLiteral("CS%1").arg(index);
}
QString fx(int index)
{
    return QStringLiteral("FX%1").arg(index);
}
QString readButton(int row)
{
    return QStringLiteral("DT%1").arg(row);
}
QString writeButton(int row)
{
    return QStringLiteral("SZ%1").arg(row);
}
} // namespace ParamField

void defineParamForm(Form &form)
{
    using namespace ParamField;
    for (int i = 0; i < texts; ++i)
        form.addText(cs(i));
    for (int i = 0; i < checks; ++i)
        form.addCheck(fx(i));
    form.addText(shortVoltageLevel);
    form.addText(shortDelayLevel);
    for (int r = 0; r < rows; ++r) {
        form.addButton(readButton(r));
        form.addButton(writeButton(r));
    }
    for (const QString &b : {readAll, writeAll, clear, shortRead, shortWrite})
        form.addButton(b);
}
