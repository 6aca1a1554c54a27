#include "records/OutputFiles.h"

#include "base/Clock.h"
#include "records/DataLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString noOutputRoot(const QString &top)
{
    return QCoreApplication::translate("OutputFiles",
                                       "There is no documents folder for this user, so the "
                                       "folder \"%1\" cannot be made.")
        .arg(top);
}
} // namespace

namespace OutputFiles {

QString programFolder()
{
    return DataLocations::current().programFolder;
}

void setProgramFolder(const QString &folder)
{
    if (folder.isEmpty())
        DataLocations::setPlaces({});
    else
        DataLocations::setPlaces(DataLocations::Places::portableIn(folder));
}

QDateTime now()
{
    return Clock::now();
}

void setClock(std::function<QDateTime()> clock)
{
    Clock::set(std::move(clock));
}

QString dayName(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString stampName(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
}

QString freePath(const QString &folder, const QString &base, const QString &suffix)
{
    const QDir dir(folder);
    QString path = dir.filePath(base + suffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix));
    return path;
}

Result<QString> dayFolder(const QString &top, const QDate &day)
{
    const QString root = DataLocations::outputFolder(top);
    if (root.isEmpty())
        return Error{noOutputRoot(top)};
    const QString path = root + QLatin1Char('/') + dayName(day);
    const QFileInfo info(path);
    if (info.isDir() && info.isWritable())
        return QDir::cleanPath(path);
    if (!info.exists() && QDir().mkpath(path))
        return QDir::cleanPath(path);
    return Error{QCoreApplication::translate("OutputFiles",
                                             "Cannot create the folder \"%1\" or write into it.")
                     .arg(QDir::toNativeSeparators(path))};
}

Result<void> openFolder(const QString &top, const std::function<bool(const QString &)> &opener)
{
    const QString folder = DataLocations::outputFolder(top);
    if (folder.isEmpty())
        return Error{noOutputRoot(top)};
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return Error{QCoreApplication::translate("OutputFiles", "Cannot create the folder \"%1\".")
                         .arg(QDir::toNativeSeparators(folder))};
    if (!opener || !opener(folder))
        return Error{QCoreApplication::translate("OutputFiles", "No program could open \"%1\".")
                         .arg(QDir::toNativeSeparators(folder))};
    return {};
}

bool heldByAnotherProgram(const QString &path)
{
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    const QString name = info.fileName();
    // Excel keeps short names whole and replaces the first two characters of
    // longer ones.
    for (const QString &lock : {QStringLiteral(".~lock.") + name + QLatin1Char('#'),
                                QStringLiteral("~$") + name, QStringLiteral("~$") + name.mid(2)})
        if (QFileInfo::exists(dir.filePath(lock)))
            return true;
    return false;
}

} // namespace OutputFiles
