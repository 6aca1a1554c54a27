#include "responses/InfoForm.h"

#include "base/Form.h"

namespace InfoField {
QString reserved(int number)
{
    return QStringLiteral("保留%1").arg(number);
}
QString cellTemperature(int i)
{
    return QStringLiteral("温度%1").arg(i);
}
QString cellVoltage(int i)
{
    return QStringLiteral("单压%1").arg(i);
}
} // namespace InfoField

void defineInfoForm(Form &form)
{
    using namespace InfoField;
    for (const QString &name : {softwareVersion,
                                hardwareVersion,
                                customText,
                                model,
                                projectNumber,
                                batteryId,
                                sof,
                                dischargeMos,
                                chargeMos,
                                preDischargeMos,
                                heating,
                                gps,
                                charger,
                                load,
                                currentLimiting,
                                switch1,
                                switch2,
                                dischargeForcedOff,
                                chargeForcedOff,
                                reserved7,
                                reserved2,
                                activeBalancing,
                                reserved4})
        form.addText(name);
    for (int n = 16; n <= 22; ++n)
        form.addText(reserved(n));
    for (const QString &name : {cellCount,
                                totalVoltage,
                                totalCurrent,
                                soc,
                                soh,
                                averageTemperature,
                                averageVoltage,
                                mosTemperature,
                                voltageDifference,
                                temperatureDifference,
                                ambientTemperature,
                                fullCapacity,
                                cycleCount,
                                workingState,
                                ntcCount,
                                minCellVoltage,
                                minCellVoltageNo,
                                maxCellVoltage,
                                maxCellVoltageNo,
                                minTemperature,
                                minTemperatureNo,
                                maxTemperature,
                                maxTemperatureNo,
                                bmsAddress})
        form.addText(name);
    for (int i = 0; i < temperatureSlots; ++i)
        form.addText(cellTemperature(i));
    for (int i = 0; i < cellSlots; ++i)
        form.addText(cellVoltage(i));
    form.addText(alarmStatus);
    form.addText(protectionStatus);
    form.addText(faultStatus);
    for (const QString &name : {chargeOff, chargeOn, dischargeOff, dischargeOn, sleepButton,
                                resetButton, storageButton, wakeButton})
        form.addButton(name);
}
