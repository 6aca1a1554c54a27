#pragma once

#include <QString>

class Form;

// Controls of the bank page ("packs"); the table itself is BankTableModel.
namespace BankField {
inline const QString status = QStringLiteral("轮询状态");  // one line: sweep time, packs
inline const QString voltage = QStringLiteral("总压范围"); // bank lines above the table
inline const QString current = QStringLiteral("电流总和");
inline const QString soc = QStringLiteral("SOC差");
inline const QString difference = QStringLiteral("最大压差");
inline const QString record = QStringLiteral("记录电池组");         // check box
inline const QString recordPath = QStringLiteral("电池组记录文件"); // the file being written
inline const QString exportButton = QStringLiteral("导出Excel");
inline const QString exportProgress = QStringLiteral("导出进度"); // 0..100
} // namespace BankField

void defineBankForm(Form &form);
