#include "charts/ChartSeries.h"

#include "records/RecordingLine.h"
#include "responses/InfoForm.h"

#include <QCoreApplication>

#include <iterator>

namespace {
using namespace ChartSeries;

const Info table[] = {
    {TotalVoltage, QT_TRANSLATE_NOOP("ChartSeries", "Total voltage"), Group::PackVoltage,
     InfoField::totalVoltage, 1},
    {Current, QT_TRANSLATE_NOOP("ChartSeries", "Current"), Group::Current, InfoField::totalCurrent,
     1},
    {Soc, QT_TRANSLATE_NOOP("ChartSeries", "SOC"), Group::Soc, InfoField::soc, 1},
    {HighestCell, QT_TRANSLATE_NOOP("ChartSeries", "Highest cell"), Group::CellVoltage,
     InfoField::maxCellVoltage, 1},
    {LowestCell, QT_TRANSLATE_NOOP("ChartSeries", "Lowest cell"), Group::CellVoltage,
     InfoField::minCellVoltage, 1},
    // The page shows volts; a few millivolts are easier to read as such.
    {CellDifference, QT_TRANSLATE_NOOP("ChartSeries", "Cell difference"), Group::CellDifference,
     InfoField::voltageDifference, 1000},
    {HighestTemperature, QT_TRANSLATE_NOOP("ChartSeries", "Highest temperature"),
     Group::Temperature, InfoField::maxTemperature, 1},
    {LowestTemperature, QT_TRANSLATE_NOOP("ChartSeries", "Lowest temperature"), Group::Temperature,
     InfoField::minTemperature, 1},
};
static_assert(std::size(table) == Count);

const char *const groupTitles[] = {
    QT_TRANSLATE_NOOP("ChartSeries", "Total voltage (V)"),
    QT_TRANSLATE_NOOP("ChartSeries", "Current (A)"),
    QT_TRANSLATE_NOOP("ChartSeries", "SOC (%)"),
    QT_TRANSLATE_NOOP("ChartSeries", "Cell voltage (V)"),
    QT_TRANSLATE_NOOP("ChartSeries", "Cell difference (mV)"),
    QT_TRANSLATE_NOOP("ChartSeries", "Temperature (℃)"),
};
static_assert(std::size(groupTitles) == int(Group::Count));
} // namespace

namespace ChartSeries {

const Info &info(int id)
{
    return table[id];
}

QString name(int id)
{
    return QCoreApplication::translate("ChartSeries", table[id].name);
}

QString groupTitle(Group group)
{
    return QCoreApplication::translate("ChartSeries", groupTitles[int(group)]);
}

int recordingField(int id)
{
    // Fields 0 and 1 are the line number and the time.
    return 2 + int(RecordingLine::infoFields().indexOf(table[id].control));
}

} // namespace ChartSeries
