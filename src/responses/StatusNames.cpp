#include "responses/StatusNames.h"

#include <QCoreApplication>

namespace {
// The English names keep the trailing blanks the BMS vendor's tables have; they
// appear in recorded files and exported sheets.
const char *const conditionNames[StatusNames::conditionCount] = {
    QT_TRANSLATE_NOOP("StatusNames", "Cell_OV"),
    QT_TRANSLATE_NOOP("StatusNames", "Cell_UV"),
    QT_TRANSLATE_NOOP("StatusNames", "Total_OV "),
    QT_TRANSLATE_NOOP("StatusNames", "Total_UV"),
    QT_TRANSLATE_NOOP("StatusNames", "Discharge_OC1"),
    QT_TRANSLATE_NOOP("StatusNames", "Discharge_OC2 "),
    QT_TRANSLATE_NOOP("StatusNames", "Charge_OC "),
    QT_TRANSLATE_NOOP("StatusNames", "Charge_OT "),
    QT_TRANSLATE_NOOP("StatusNames", "Discharge_OT "),
    QT_TRANSLATE_NOOP("StatusNames", "Charge_UT"),
    QT_TRANSLATE_NOOP("StatusNames", "Discharge_UT "),
    QT_TRANSLATE_NOOP("StatusNames", "MOS_OT"),
    QT_TRANSLATE_NOOP("StatusNames", "SOC_UC"),
    QT_TRANSLATE_NOOP("StatusNames", "Environment_OT"),
    QT_TRANSLATE_NOOP("StatusNames", "Environment_UT"),
    QT_TRANSLATE_NOOP("StatusNames", "Cell_DIFT"),
    QT_TRANSLATE_NOOP("StatusNames", "Cell_DIFV"),
};

const char *const faultNames[5] = {
    QT_TRANSLATE_NOOP("StatusNames", "Discharge MOS failure"),
    QT_TRANSLATE_NOOP("StatusNames", "Charging MOS failure"),
    QT_TRANSLATE_NOOP("StatusNames", "FLASH write fail"),
    QT_TRANSLATE_NOOP("StatusNames", "Low voltage charging forbid"),
    QT_TRANSLATE_NOOP("StatusNames", "Short circuit protection"),
};

const QString lineBreak = QStringLiteral("\r\n");
} // namespace

namespace StatusNames {

QString conditionName(int bit)
{
    Q_ASSERT(bit >= 0 && bit < conditionCount);
    return QCoreApplication::translate("StatusNames", conditionNames[bit]);
}

QString faultName(int bit)
{
    Q_ASSERT(bit >= 0 && bit < faultCount);
    if (bit < 5)
        return QCoreApplication::translate("StatusNames", faultNames[bit]);
    return QCoreApplication::translate("StatusNames", "Reserved",
                                       "unnamed fault bit, followed by its number") +
           QString::number(bit);
}

QString conditionLines(quint32 bits)
{
    QString lines;
    auto add = [&](int bit) {
        if (bits & (quint32(1) << bit))
            lines += conditionName(bit) + lineBreak;
    };
    add(16);
    for (int bit = 0; bit <= 15; ++bit)
        add(bit);
    return lines;
}

QString faultLines(quint16 bits)
{
    QString lines;
    for (int bit : {8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7}) {
        if (bits & (1u << bit))
            lines += faultName(bit) + lineBreak;
    }
    return lines;
}

QString none()
{
    return QCoreApplication::translate("StatusNames", "null");
}

QString connectionText(bool connected)
{
    return connected ? QCoreApplication::translate("StatusNames", "on",
                                                   "connected (switch, charger, load)")
                     : QCoreApplication::translate("StatusNames", "off",
                                                   "not connected (switch, charger, load)");
}

QString switchText(bool on)
{
    return on ? QCoreApplication::translate("StatusNames", "on", "switched on")
              : QCoreApplication::translate("StatusNames", "off", "switched off");
}

QString yesNoText(bool yes)
{
    return yes ? QCoreApplication::translate("StatusNames", "yes")
               : QCoreApplication::translate("StatusNames", "no");
}

QString workingStateText(bool charging, bool discharging)
{
    if (discharging)
        return QCoreApplication::translate("StatusNames", "discharge");
    if (charging)
        return QCoreApplication::translate("StatusNames", "charge");
    return QCoreApplication::translate("StatusNames", "idle");
}

} // namespace StatusNames
