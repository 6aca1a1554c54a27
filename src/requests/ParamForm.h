#pragma once

#include <QString>

class Form;

// Controls of the "parameters" page. Row r (0..16) owns the texts CS(5r) ..
// CS(5r+4) (AlaVal, AlaDelay, ProtVal, ProtRecVal, ProtDelay) and the check
// boxes FX(2r) (AlarmEnable) and FX(2r+1) (ProtEnable); the index arithmetic is
// shared by the page, the write encoding and the read-back decoding.
namespace ParamField {
constexpr int rows = 17;
constexpr int texts = 85;
constexpr int checks = 34;
QString cs(int index);        // "CS0" .. "CS84"
QString fx(int index);        // "FX0" .. "FX33"
QString readButton(int row);  // "DT0" .. "DT16"
QString writeButton(int row); // "SZ0" .. "SZ16"
inline const QString readAll = QStringLiteral("DTff");
inline const QString writeAll = QStringLiteral("SZff");
inline const QString clear = QStringLiteral("清空");
inline const QString shortVoltageLevel = QStringLiteral("短路电压等级");
inline const QString shortDelayLevel = QStringLiteral("短路延时等级");
inline const QString shortRead = QStringLiteral("Command1");
inline const QString shortWrite = QStringLiteral("Command2");
} // namespace ParamField

void defineParamForm(Form &form);
