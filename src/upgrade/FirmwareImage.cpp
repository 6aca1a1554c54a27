#include "upgrade/FirmwareImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

FirmwareImage::Error FirmwareImage::load(const QString &path, QByteArray &image)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Error::Missing;
    // A directory opens fine on some systems and then fails on the first read.
    if (!info.isFile())
        return Error::Unreadable;
    // The size is checked before reading so that a huge file is never loaded.
    if (info.size() > maxBytes)
        return Error::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != info.size())
        return Error::Unreadable;
    if (bytes.isEmpty())
        return Error::Empty;
    image = padded(bytes);
    return Error::None;
}

QByteArray FirmwareImage::padded(QByteArray bytes)
{
    const qsizetype rest = bytes.size() % blockSize;
    if (rest != 0)
        bytes.append(blockSize - rest, char(0xFF));
    return bytes;
}

QString FirmwareImage::errorText(Error error, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
    switch (error) {
    case Error::None:
        return {};
    case Error::Missing:
        return QCoreApplication::translate("FirmwareImage", "The file %1 does not exist.")
            .arg(name);
    case Error::Unreadable:
        return QCoreApplication::translate("FirmwareImage", "The file %1 cannot be read.")
            .arg(name);
    case Error::Empty:
        return QCoreApplication::translate("FirmwareImage",
                                           "The file %1 is empty: there is nothing to upgrade.")
            .arg(name);
    case Error::TooLarge:
        return QCoreApplication::translate(
                   "FirmwareImage",
                   "The file %1 is too large: an upgrade takes at most %2 bytes (%3 blocks of %4 "
                   "bytes).")
            .arg(name)
            .arg(maxBytes)
            .arg(maxBlocks)
            .arg(blockSize);
    }
    return {};
}
