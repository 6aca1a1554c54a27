#pragma once

#include <QString>
#include <QStringList>

// How the command line names the parameter rows and their columns: the
// rows by their English captions as the page shows them ("Cell_OV") or by
// their position 0..16, the columns by the page's column titles ("ProtVal").
namespace ParamNames {

struct Column {
    const char *name;
    bool check; // an enable box rather than a value
    int offset; // CS(5r + offset) or FX(2r + offset)
};

// Row 0..16, or -1; case does not matter.
int row(const QString &word);
QString rowName(int row); // English caption
const QList<Column> &columns();
// The column named `word`, or nullptr.
const Column *column(const QString &word);
// The page control of a column in a row ("CS7", "FX3").
QString control(const Column &column, int row);
QStringList rowNames();

} // namespace ParamNames
