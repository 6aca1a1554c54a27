#pragma once

#include <QString>

// The values the trend charts follow, one table for both sources: the live
// page's control each is read from and, through it, its column in a recording.
namespace ChartSeries {

enum Id {
    TotalVoltage,
    Current,
    Soc,
    HighestCell,
    LowestCell,
    CellDifference,
    HighestTemperature,
    LowestTemperature,
    Count
};

// Series of one unit share a chart and its value axis.
enum class Group { PackVoltage, Current, Soc, CellVoltage, CellDifference, Temperature, Count };

struct Info {
    Id id;
    const char *name; // English source text, context "ChartSeries"
    Group group;
    const QString &control; // the information page's control
    double factor;          // page value times this is what the chart shows
};

const Info &info(int id);
QString name(int id);            // translated
QString groupTitle(Group group); // translated, with the unit
// The recording field that holds the series, counted from 0.
int recordingField(int id);

} // namespace ChartSeries
