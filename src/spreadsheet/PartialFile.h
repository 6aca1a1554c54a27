#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>

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
