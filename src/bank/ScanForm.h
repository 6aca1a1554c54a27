#pragma once

#include <QString>

class Form;

// Controls of the bus scan on the "serial setting" page.
namespace ScanField {
inline const QString scan = QStringLiteral("扫描总线");     // start / stop button
inline const QString progress = QStringLiteral("扫描进度"); // percent of the addresses asked
inline const QString status = QStringLiteral("扫描状态");   // one line: where the scan stands
inline const QString found = QStringLiteral("扫描结果");    // one line per pack or clash
} // namespace ScanField

void defineScanForm(Form &form);
