#pragma once

#include "charts/CellSnapshot.h"
#include "charts/ChartSeries.h"

#include <array>
#include <limits>

class Form;

// What one polling cycle (or one recorded line) adds to the charts: a value
// per trend series, NaN where the source had none ("null", empty, garbled),
// and the cell voltages when the cycle brought them.
struct ChartSample {
    using Values = std::array<double, ChartSeries::Count>;
    static constexpr double missing = std::numeric_limits<double>::quiet_NaN();

    ChartSample() { values.fill(missing); }

    Values values;
    CellSnapshot cells;

    bool hasValues() const;

    // From the information page's boxes, as they read now.
    static Values valuesFrom(const Form &info);
    // The filled cell boxes, from the first on up to the first that holds no
    // number; balancing is the box's highlight.
    static CellSnapshot cellsFrom(const Form &info);
    // A box's text as a number; NaN when it is none.
    static double number(const QString &text);
};
