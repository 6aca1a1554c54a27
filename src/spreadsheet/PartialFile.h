#pragma once

#include <quazip/quazipnewinfo.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>
#include <system_error>

// A workbook is built under a hidden name beside its final one and renamed
// into place only when complete, so a failed or abandoned export never
// leaves a truncated file under the name a technician would open, nor
// replaces an older good one. The process number keeps two running programs
// apart.
inline QString partialPathFor(const QString &outputPath)
{
    const QFileInfo out(outputPath);
    return out.absoluteDir().filePath(QStringLiteral(".%1.%2.partial")
                                          .arg(out.fileName())
                                          .arg(QCoreApplication::applicationPid()));
}

// Renames the finished workbook over its final name in one step (replacing
// an older one). Returns the system's reason when that fails, "" when done.
inline QString movePartialIntoPlace(const QString &partialPath, const QString &outputPath)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(partialPath.toStdU16String()),
                            std::filesystem::path(outputPath.toStdU16String()), ec);
    return ec ? QString::fromLocal8Bit(ec.message()) : QString();
}

// A part of the workbook's zip package, readable by everyone as any
// document the user saves.
inline QuaZipNewInfo newPackageEntry(const QString &name)
{
    QuaZipNewInfo info(name);
    info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return info;
}
