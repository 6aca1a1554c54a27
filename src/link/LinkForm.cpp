#include "link/LinkForm.h"

#include "base/Form.h"

void defineLinkForm(Form &form)
{
    form.addChoice(LinkField::port, {});
    form.addChoice(LinkField::baud, LinkField::baudRates, 0);
    form.addChoice(LinkField::parity, LinkField::parityNames, 0);
    form.addChoice(LinkField::dataBits, {QStringLiteral("8 "), QStringLiteral("9 ")}, 0);
    QStringList addresses{QStringLiteral("0xff")};
    for (int i = 0; i <= 16; ++i)
        addresses << QString::number(i);
    form.addChoice(LinkField::address, addresses, 0);
    form.addChoice(LinkField::protocol, {QStringLiteral("V1.0")}, 0);
    form.addButton(LinkField::openClose);
    form.addButton(LinkField::refresh);
    form.addCheck(LinkField::reconnect);
}
