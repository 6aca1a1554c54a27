#pragma once

#include <QString>

class Form;

// Controls of the "store data" page. The grid itself is a view of
// AppState::storedRows.
namespace StoredField {
inline const QString count = QStringLiteral("数量");              // record count label
inline const QString exportProgress = QStringLiteral("导出进度"); // "37%"
inline const QString countButton = QStringLiteral("存储数量");
inline const QString getData = QStringLiteral("获取数据");
inline const QString exportButton = QStringLiteral("导出");
inline const QString outputFolder = QStringLiteral("outputFolder"); // where exports go
inline const QString openFolder = QStringLiteral("openFolder");
// Progress of a read-out: "i / N", a bar (0..100), elapsed and remaining time.
inline const QString readCount = QStringLiteral("读取数量");
inline const QString readBar = QStringLiteral("读取进度");
inline const QString readTime = QStringLiteral("读取时间");
inline const QString stopButton = QStringLiteral("停止");
} // namespace StoredField

void defineStoredForm(Form &form);
