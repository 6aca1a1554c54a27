#pragma once

#include <QString>
#include <QStringList>

// The control commands by the words of the command line, mapped onto the
// request codes of the information page's control buttons.
namespace ControlWords {
// The request code for "charge-mos on", "sleep", ...; -1 for anything else.
int code(const QStringList &words);
QString synopsis(); // "charge-mos on|off, discharge-mos on|off, sleep, ..."
} // namespace ControlWords
