#include "records/OutputFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString g_programFolder;
std::function<QDateTime()> g_clock;
} // namespace

namespace OutputFiles {

QString programFolder()
{
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void setProgramFolder(const QString &folder)
{
    g_programFolder = folder;
}

QDateTime now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> clock)
{
    g_clock = std::move(clock);
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

QString dayFolder(const QString &top, const QDate &day, QString *error)
{
    const QString path = QDir(programFolder()).filePath(top + QLatin1Char('/') + dayName(day));
    const QFileInfo info(path);
    if (info.isDir() && info.isWritable())
        return QDir::cleanPath(path);
    if (!info.exists() && QDir().mkpath(path))
        return QDir::cleanPath(path);
    if (error)
        *error = QCoreApplication::translate("OutputFiles",
                                             "Cannot create the folder \"%1\" or write into it.")
                     .arg(QDir::toNativeSeparators(path));
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
