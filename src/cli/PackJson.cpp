#include "cli/PackJson.h"

#include "base/Form.h"
#include "responses/InfoForm.h"
#include "responses/StatusNames.h"

#include <QJsonArray>

namespace {

// A number box; null when it is empty or says "null".
QJsonValue number(const Form &info, const QString &control, double factor = 1)
{
    bool ok = false;
    const double value = info.text(control).toDouble(&ok);
    // Rounded to what the page can show, so that a scaled value does not gain
    // binary noise (3300 mV is 3.3 V, not 3.3000000000000003).
    return ok ? QJsonValue(double(qRound64(value * factor * 1e6)) / 1e6)
              : QJsonValue(QJsonValue::Null);
}

QJsonValue text(const Form &info, const QString &control)
{
    const QString t = info.text(control);
    return t.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(t);
}

QJsonValue switchState(const Form &info, const QString &control)
{
    const QString t = info.text(control);
    if (t == StatusNames::switchText(true))
        return true;
    if (t == StatusNames::switchText(false))
        return false;
    return QJsonValue::Null;
}

// The condition boxes hold one name per line; "null" when none is active.
QJsonArray names(const Form &info, const QString &control)
{
    QJsonArray list;
    const QString t = info.text(control);
    if (t == StatusNames::none())
        return list;
    for (const QString &line : t.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        list.append(line);
    return list;
}

// The first `countControl` slots that hold a number.
QJsonArray filledSlots(const Form &info, const QString &countControl, QString (*slot)(int),
                       int slotCount, double factor)
{
    QJsonArray list;
    const int filled = qBound(0, info.text(countControl).toInt(), slotCount);
    for (int i = 0; i < filled; ++i)
        list.append(number(info, slot(i), factor));
    return list;
}

} // namespace

namespace PackJson {

QStringList keys()
{
    return {Key::address,
            Key::batteryId,
            Key::totalVoltage,
            Key::current,
            Key::soc,
            Key::soh,
            Key::cellMaxVoltage,
            Key::cellMaxIndex,
            Key::cellMinVoltage,
            Key::cellMinIndex,
            Key::cellDiff,
            Key::tempMax,
            Key::tempMin,
            Key::chargeMos,
            Key::dischargeMos,
            Key::alarms,
            Key::protections,
            Key::faults,
            Key::cells,
            Key::temperatures,
            Key::projectNumber,
            Key::model,
            Key::softwareVersion,
            Key::hardwareVersion,
            Key::cycleCount,
            Key::fullCapacity};
}

QJsonObject state(int address, const Form &info)
{
    using namespace InfoField;
    QJsonObject o;
    o.insert(Key::address, address);
    o.insert(Key::batteryId, text(info, batteryId));
    o.insert(Key::totalVoltage, number(info, totalVoltage));
    o.insert(Key::current, number(info, totalCurrent));
    o.insert(Key::soc, number(info, soc));
    o.insert(Key::soh, number(info, soh));
    o.insert(Key::cellMaxVoltage, number(info, maxCellVoltage));
    o.insert(Key::cellMaxIndex, number(info, maxCellVoltageNo));
    o.insert(Key::cellMinVoltage, number(info, minCellVoltage));
    o.insert(Key::cellMinIndex, number(info, minCellVoltageNo));
    o.insert(Key::cellDiff, number(info, voltageDifference, 1000));
    o.insert(Key::tempMax, number(info, maxTemperature));
    o.insert(Key::tempMin, number(info, minTemperature));
    o.insert(Key::chargeMos, switchState(info, chargeMos));
    o.insert(Key::dischargeMos, switchState(info, dischargeMos));
    o.insert(Key::alarms, names(info, alarmStatus));
    o.insert(Key::protections, names(info, protectionStatus));
    o.insert(Key::faults, names(info, faultStatus));
    // The cell boxes show millivolts.
    o.insert(Key::cells, filledSlots(info, cellCount, &InfoField::cellVoltage, cellSlots, 0.001));
    o.insert(Key::temperatures,
             filledSlots(info, ntcCount, &InfoField::cellTemperature, temperatureSlots, 1));
    o.insert(Key::projectNumber, text(info, projectNumber));
    o.insert(Key::model, text(info, model));
    o.insert(Key::softwareVersion, text(info, softwareVersion));
    o.insert(Key::hardwareVersion, text(info, hardwareVersion));
    o.insert(Key::cycleCount, number(info, cycleCount));
    o.insert(Key::fullCapacity, number(info, fullCapacity));
    return o;
}

} // namespace PackJson
