#pragma once

#include <QString>

class Form;

// Controls of the "other settings " page (live recording and its conversion).
namespace RecordField {
inline const QString recording = QStringLiteral("实时数据");  // check box
inline const QString path = QStringLiteral("转换文件目录");   // file to convert
inline const QString progressText = QStringLiteral("进度值"); // "37%"
inline const QString progress = QStringLiteral("progress");   // bar, 0..100
inline const QString selectFile = QStringLiteral("选择文件");
inline const QString latestFile = QStringLiteral("最新文件");
inline const QString convert = QStringLiteral("Command2");
inline const QString openExport = QStringLiteral("打开");
inline const QString outputFolder = QStringLiteral("outputFolder"); // where recordings go
inline const QString openFolder = QStringLiteral("openFolder");
} // namespace RecordField

void defineRecordForm(Form &form);
