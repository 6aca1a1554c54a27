#include "responses/IdentityDecoding.h"

#include "base/Form.h"
#include "requests/SystemForm.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"

namespace {
// Year (offset from 2000), month and day, one byte each. Not validated: the
// technician should see exactly what the pack holds, even a month 13.
QString dateText(const QByteArray &frame, int index)
{
    const int year = 2000 + frameByte(frame, index);
    const int month = frameByte(frame, index + 1);
    const int day = frameByte(frame, index + 2);
    return QStringLiteral("%1-%2-%3")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}
} // namespace

namespace IdentityDecoding {

void decodeText(const QByteArray &frame, int dataLength, Form &form, const QString &control)
{
    writeLatin1Text(form, control, frame, 7, 6 + dataLength);
}

void decodeVersions(const QByteArray &frame, int, Form &info)
{
    info.setText(InfoField::softwareVersion, decodeWord(frame, 7, 0.01));
    info.setText(InfoField::hardwareVersion, decodeWord(frame, 9, 0.01));
}

void decodeDates(const QByteArray &frame, int, Form &system)
{
    system.setText(SystemField::productionDate, dateText(frame, 7));
    system.setText(SystemField::shippingDate, dateText(frame, 10));
    QString batch;
    for (int i = 13; i <= 20; ++i)
        batch += QStringLiteral("%1").arg(frameByte(frame, i), 2, 16, QLatin1Char('0')).toUpper();
    system.setText(SystemField::batch, batch);
}

} // namespace IdentityDecoding
