#pragma once

#include "base/Result.h"

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
// an older one). A failure carries the system's reason.
inline Result<void> movePartialIntoPlace(const QString &partialPath, const QString &outputPath)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(partialPath.toStdU16String()),
                            std::filesystem::path(outputPath.toStdU16String()), ec);
    if (ec)
        return Error{QString::fromLocal8Bit(ec.message())};
    return {};
}

// A part of the workbook's zip package, readable by everyone as any
// document the user saves.
inline QuaZipNewInfo newPackageEntry(const QString &name)
{
    QuaZipNewInfo info(name);
    info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return info;
}
