#include "records/RecordingLine.h"

#include "base/Form.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"

#include <cmath>

namespace RecordingLine {

const QStringList &infoFields()
{
    using namespace InfoField;
    static const QStringList fields = {model,
                                       softwareVersion,
                                       hardwareVersion,
                                       projectNumber,
                                       batteryId,
                                       customText,
                                       bmsAddress,
                                       cellCount,
                                       ntcCount,
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
                                       minCellVoltage,
                                       minCellVoltageNo,
                                       maxCellVoltage,
                                       maxCellVoltageNo,
                                       minTemperature,
                                       minTemperatureNo,
                                       maxTemperature,
                                       maxTemperatureNo,
                                       dischargeMos,
                                       chargeMos,
                                       preDischargeMos,
                                       heating,
                                       gps,
                                       charger,
                                       load,
                                       switch1,
                                       switch2,
                                       dischargeForcedOff,
                                       chargeForcedOff,
                                       activeBalancing,
                                       reserved(16),
                                       reserved(17),
                                       reserved(18),
                                       reserved(19),
                                       alarmStatus,
                                       protectionStatus,
                                       faultStatus};
    return fields;
}

QString cellVolts(const QString &millivolts)
{
    bool ok = false;
    const double mv = millivolts.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(mv))
        return millivolts;
    return decimalText(mv / 1000.0);
}

QString compose(const Form &info, int lineNumber, const QDateTime &moment)
{
    QStringList fields;
    fields.reserve(fieldCount);
    fields << QString::number(lineNumber).rightJustified(6, QLatin1Char(' '));
    fields << moment.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                  moment.time()
                      .toString(QStringLiteral("hh:mm:ss"))
                      .rightJustified(8, QLatin1Char(' '));
    for (const QString &control : infoFields())
        fields << info.text(control);
    for (int i = 0; i < InfoField::cellSlots; ++i)
        fields << cellVolts(info.text(InfoField::cellVoltage(i)));
    for (int i = 0; i < InfoField::temperatureSlots; ++i)
        fields << info.text(InfoField::cellTemperature(i));

    QString line = fields.join(separator) + separator;
    // A CR LF pair inside a value (the multi-line status boxes) becomes one
    // space; a lone CR or LF would split the record just the same.
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

} // namespace RecordingLine
