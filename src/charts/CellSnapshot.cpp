#include "charts/CellSnapshot.h"

#include <algorithm>

int CellSnapshot::highestIndex() const
{
    if (millivolts.isEmpty())
        return -1;
    return int(std::max_element(millivolts.cbegin(), millivolts.cend()) - millivolts.cbegin());
}

int CellSnapshot::lowestIndex() const
{
    if (millivolts.isEmpty())
        return -1;
    return int(std::min_element(millivolts.cbegin(), millivolts.cend()) - millivolts.cbegin());
}

int CellSnapshot::differenceMillivolts() const
{
    if (millivolts.isEmpty())
        return 0;
    return millivolts.at(highestIndex()) - millivolts.at(lowestIndex());
}
