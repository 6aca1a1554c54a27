#pragma once

#include "base/Result.h"

#include <QDateTime>
#include <QString>

#include <functional>

// How recordings and exports are named: one folder per day ("yyyy-mm-dd")
// below the output folders that DataLocations chooses, files named by the
// moment they were made ("yyyy-mm-dd hh.mm.ss"). Tests point the folder and
// the clock elsewhere.
namespace OutputFiles {

// The folder of the program.
QString programFolder();
// Runs as a portable copy in `folder`: templates and outputs beside it. ""
// restores the places of the running program.
void setProgramFolder(const QString &folder);
QDateTime now();
void setClock(std::function<QDateTime()> clock); // {} restores the system clock

QString dayName(const QDate &date);         // 2024-05-07
QString stampName(const QDateTime &moment); // 2024-05-07 09.03.00

// `folder`/`base``suffix`, or `base (2)``suffix`, `base (3)``suffix`... when
// that name is taken: a new file never replaces an older one, even when two
// are made within the same second.
QString freePath(const QString &folder, const QString &base, const QString &suffix);

// <output root>/`top`/<today>, created with its parents when missing. The
// failure's message is for the user.
Result<QString> dayFolder(const QString &top, const QDate &day);

// Creates the output folder `top` when missing and hands it to `opener` (the
// desktop's file manager). The failure's message is for the user.
Result<void> openFolder(const QString &top, const std::function<bool(const QString &)> &opener);

// True when a spreadsheet program has `path` open: LibreOffice and Excel both
// leave a lock file beside a workbook they edit.
bool heldByAnotherProgram(const QString &path);

} // namespace OutputFiles
