#include "base/Version.h"

#include <QStringList>

#ifndef CELLVANE_VERSION
#error "the build defines CELLVANE_VERSION"
#endif

namespace Version {

QString text()
{
    return QStringLiteral(CELLVANE_VERSION);
}

QString shortText()
{
    return text().section(QLatin1Char('.'), 0, 1);
}

} // namespace Version
