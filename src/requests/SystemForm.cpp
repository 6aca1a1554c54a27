#include "requests/SystemForm.h"

#include "base/Form.h"
#include "link/LinkForm.h"

namespace SystemField {
static const char *const groupNames[3] = {"充电", "放电", "静置"};
static const char *const columnNames[5] = {"开启电压", "关闭电压", "开启压差", "关闭压差", "时间"};

QString activeEnable(int group)
{
    return QStringLiteral("主动%1均衡使能").arg(QString::fromUtf8(groupNames[group]));
}

QString activeValue(int group, int column)
{
    return QStringLiteral("主动%1均衡%2")
        .arg(QString::fromUtf8(groupNames[group]), QString::fromUtf8(columnNames[column]));
}

QString command(int number)
{
    return QStringLiteral("Command%1").arg(number);
}
} // namespace SystemField

void defineSystemForm(Form &form)
{
    using namespace SystemField;
    for (const QString &name : {projectNumber,
                                model,
                                batteryId,
                                customText,
                                ip,
                                ipPort,
                                productionDate,
                                shippingDate,
                                batch,
                                balanceOpen,
                                balanceDiff,
                                balanceClose,
                                cellNumber,
                                lowCellNumber,
                                ntcNumber,
                                soc,
                                cycles,
                                standardCapacity,
                                fullCapacity,
                                attenuationCycles,
                                zeroCalibration,
                                chargeCalibration,
                                dischargeCalibration,
                                samplingResistor,
                                bmsTime,
                                preDischargeTime,
                                moduleAddress,
                                limitMode,
                                limitThreshold,
                                limitTime})
        form.addText(name);
    form.addCheck(balanceEnable);
    form.addCheck(limitEnable);
    form.addText(usart, usartEntries);
    form.setText(usart, usartEntries.first());
    form.addText(baud, LinkField::baudRates);
    form.addChoice(parity, LinkField::parityNames);
    const QStringList threeOptions{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    form.addChoice(handshake, threeOptions);
    form.addChoice(customSelection, threeOptions);
    form.addChoice(preDischarge, threeOptions);
    for (int g = 0; g < 3; ++g) {
        form.addCheck(activeEnable(g));
        for (int c = 0; c < 5; ++c)
            form.addText(activeValue(g, c));
    }
    for (int n = 1; n <= 40; ++n)
        form.addButton(command(n));
}
