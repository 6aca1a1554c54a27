#pragma once

#include <QByteArray>
#include <QString>

class Form;

// Who the BMS is: identity texts (items 1, 2, 3, 19), firmware versions
// (item 4) and production/shipping dates with the batch code (item 10).
// Each throws FrameError at the first position it cannot read.
namespace IdentityDecoding {
// The frame's data bytes as text into `control` (a zero byte adds nothing).
void decodeText(const QByteArray &frame, int dataLength, Form &form, const QString &control);
void decodeVersions(const QByteArray &frame, int dataLength, Form &info);
void decodeDates(const QByteArray &frame, int dataLength, Form &system);
} // namespace IdentityDecoding
