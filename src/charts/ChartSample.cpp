#include "charts/ChartSample.h"

#include "base/Form.h"
#include "responses/InfoForm.h"

#include <algorithm>
#include <cmath>

bool ChartSample::hasValues() const
{
    return std::any_of(values.cbegin(), values.cend(), [](double v) { return !std::isnan(v); });
}

double ChartSample::number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : missing;
}

ChartSample::Values ChartSample::valuesFrom(const Form &info)
{
    Values values;
    for (int id = 0; id < ChartSeries::Count; ++id) {
        const ChartSeries::Info &s = ChartSeries::info(id);
        values[id] = number(info.text(s.control)) * s.factor;
    }
    return values;
}

CellSnapshot ChartSample::cellsFrom(const Form &info)
{
    CellSnapshot cells;
    for (int i = 0; i < InfoField::cellSlots; ++i) {
        const QString control = InfoField::cellVoltage(i);
        const double mv = number(info.text(control));
        if (std::isnan(mv))
            break;
        cells.millivolts.append(int(std::lround(mv)));
        cells.balancing.append(info.isHighlighted(control));
    }
    return cells;
}
