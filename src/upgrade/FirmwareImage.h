#pragma once

#include <QByteArray>
#include <QString>

// A firmware file as it goes on the wire: the file's bytes followed by 0xFF up
// to a whole number of 128-byte blocks. Blocks are numbered from 1 in a 16-bit
// field in which 0 is the start frame and 0xFFFF the end frame, so an image
// may hold at most 65,534 blocks.
class FirmwareImage {
public:
    static constexpr int blockSize = 128;
    static constexpr qint64 maxBlocks = 0xFFFE;
    static constexpr qint64 maxBytes = maxBlocks * blockSize;

    enum class Error { None, Missing, Unreadable, Empty, TooLarge };

    // Reads the whole file. On any error `image` is left untouched, so an
    // upgrade can never run with bytes that did not come from this file.
    static Error load(const QString &path, QByteArray &image);

    // Appends 0xFF up to the next multiple of 128; a multiple stays unchanged.
    static QByteArray padded(QByteArray bytes);

    // The message a technician sees for `error` on `path`, in the current
    // language; empty for Error::None.
    static QString errorText(Error error, const QString &path);
};
