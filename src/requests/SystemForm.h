#pragma once

#include <QString>
#include <QStringList>

class Form;

// Controls of the "system" page, named as on the page.
namespace SystemField {
// product settings
inline const QString projectNumber = QStringLiteral("项目编号");
inline const QString model = QStringLiteral("BMS型号");
inline const QString batteryId = QStringLiteral("序列号");
inline const QString customText = QStringLiteral("自定义");
inline const QString ip = QStringLiteral("IP");
inline const QString ipPort = QStringLiteral("端口号");
// dates
inline const QString productionDate = QStringLiteral("生产日期");
inline const QString shippingDate = QStringLiteral("出货日期");
inline const QString batch = QStringLiteral("批次");
// passive balancing
inline const QString balanceEnable = QStringLiteral("均衡使能"); // check
inline const QString balanceOpen = QStringLiteral("开启电压");
inline const QString balanceDiff = QStringLiteral("均衡压差");
inline const QString balanceClose = QStringLiteral("关闭电压");
// counts
inline const QString cellNumber = QStringLiteral("电池串数");
inline const QString lowCellNumber = QStringLiteral("低端串数");
inline const QString ntcNumber = QStringLiteral("温度数量");
// capacity
inline const QString soc = QStringLiteral("SOC");
inline const QString cycles = QStringLiteral("循环次数");
inline const QString standardCapacity = QStringLiteral("标准容量");
inline const QString fullCapacity = QStringLiteral("实际容量");
inline const QString attenuationCycles = QStringLiteral("衰减循环次数");
// calibration
inline const QString zeroCalibration = QStringLiteral("零点校准");
inline const QString chargeCalibration = QStringLiteral("充电校准");
inline const QString dischargeCalibration = QStringLiteral("放电校准");
inline const QString samplingResistor = QStringLiteral("采样电阻");
// BMS time (a label)
inline const QString bmsTime = QStringLiteral("BMS时间");
// BMS serial settings: editable lists for USART and baud, a fixed list for parity
inline const QString usart = QStringLiteral("usart");
inline const QString baud = QStringLiteral("波特率");
inline const QString parity = QStringLiteral("奇偶位"); // choice: None / Even / Odd
// option groups (index 0..2, -1 when none is selected)
inline const QString handshake = QStringLiteral("握手");
inline const QString customSelection = QStringLiteral("自选");
inline const QString preDischarge = QStringLiteral("预放");
inline const QString preDischargeTime = QStringLiteral("预放切换时间");
// energy-storage module
inline const QString moduleAddress = QStringLiteral("BMSADD");
inline const QString limitEnable = QStringLiteral("限流使能"); // check
inline const QString limitMode = QStringLiteral("限流模式");
inline const QString limitThreshold = QStringLiteral("限流值");
inline const QString limitTime = QStringLiteral("限流时间");
// active balancing: group 0 charge, 1 discharge, 2 rest
QString activeEnable(int group);            // "主动充电均衡使能" ... (check)
QString activeValue(int group, int column); // column 0 开启电压, 1 关闭电压, 2 开启压差,
                                            // 3 关闭压差, 4 时间
// buttons "Command1" .. "Command40"
QString command(int number);

inline const QStringList usartEntries = {
    QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
    QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("06")};
} // namespace SystemField

void defineSystemForm(Form &form);
