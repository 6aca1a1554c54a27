#pragma once

#include <QString>

class Form;

// Controls of the "BMS upgrade" page.
namespace UpgradeField {
inline const QString path = QStringLiteral("Text5");
inline const QString chooseFile = QStringLiteral("Command1");
inline const QString target = QStringLiteral("升级app_boot"); // 0 APP, 1 BOOT
inline const QString baud = QStringLiteral("升级波特率选择"); // same rates as the link
inline const QString start = QStringLiteral("升级");
inline const QString progressText = QStringLiteral("jingdu"); // "0%"
inline const QString progress = QStringLiteral("progress");   // bar, 0..100
constexpr int app = 0;
constexpr int boot = 1;
} // namespace UpgradeField

void defineUpgradeForm(Form &form);
