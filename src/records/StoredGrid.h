#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The header of the stored-records grid: 20 column titles in the current
// language, column widths and header height in twips (1/1440 inch), which the
// page turns into pixels at 15 twips per pixel.
namespace StoredGrid {
constexpr int columnCount = 20;
constexpr int twipsPerPixel = 15;

QStringList headers(); // in the language installed now
QList<int> widthsTwips(bool english);
int headerHeightTwips(bool english);
} // namespace StoredGrid
