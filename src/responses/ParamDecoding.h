#pragma once

#include <QByteArray>

class Form;

// Read-back of the alarm and protection parameter rows (item 40 + r) and of
// the short-circuit levels (item 113) into the parameter page. Each throws
// FrameError at the first position it cannot read; controls filled before
// keep their new content.
namespace ParamDecoding {
constexpr int firstRowItem = 40;
constexpr int lastRowItem = 56;

void decodeRow(const QByteArray &frame, int row, Form &param);
void decodeShortCircuit(const QByteArray &frame, int dataLength, Form &param);
} // namespace ParamDecoding
