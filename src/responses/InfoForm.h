#pragma once

#include <QString>

class Form;

// Controls of the "information" page, named as on the page. The decoders of the
// live data write them; the recorder reads them back as text.
namespace InfoField {
inline const QString softwareVersion = QStringLiteral("软件版本");
inline const QString hardwareVersion = QStringLiteral("硬件版本");
inline const QString customText = QStringLiteral("自定义");
inline const QString model = QStringLiteral("型号");
inline const QString projectNumber = QStringLiteral("项目编号");
inline const QString batteryId = QStringLiteral("序列号");
inline const QString sof = QStringLiteral("SOF");

inline const QString dischargeMos = QStringLiteral("放电mos");
inline const QString chargeMos = QStringLiteral("充电mos");
inline const QString preDischargeMos = QStringLiteral("预放mos");
inline const QString heating = QStringLiteral("加热");
inline const QString gps = QStringLiteral("GPS");
inline const QString charger = QStringLiteral("充电器");
inline const QString load = QStringLiteral("负载");
inline const QString currentLimiting = QStringLiteral("限流");
inline const QString switch1 = QStringLiteral("ON档");
inline const QString switch2 = QStringLiteral("弱电");
inline const QString dischargeForcedOff = QStringLiteral("强关放电");
inline const QString chargeForcedOff = QStringLiteral("强关充电");
inline const QString reserved7 = QStringLiteral("保留7");
inline const QString reserved2 = QStringLiteral("保留2");
inline const QString activeBalancing = QStringLiteral("主动均衡");
inline const QString reserved4 = QStringLiteral("保留4");
// reserved16 .. reserved22
QString reserved(int number);

inline const QString cellCount = QStringLiteral("电池数量");
inline const QString totalVoltage = QStringLiteral("总电压");
inline const QString totalCurrent = QStringLiteral("总电流");
inline const QString soc = QStringLiteral("SOC");
inline const QString soh = QStringLiteral("SOH");
inline const QString averageTemperature = QStringLiteral("平均温度");
inline const QString averageVoltage = QStringLiteral("平均电压");
inline const QString mosTemperature = QStringLiteral("MOS温度");
inline const QString voltageDifference = QStringLiteral("压差");
inline const QString temperatureDifference = QStringLiteral("温差");
inline const QString ambientTemperature = QStringLiteral("环境温度");
inline const QString fullCapacity = QStringLiteral("实际容量");
inline const QString cycleCount = QStringLiteral("循环次数");
inline const QString workingState = QStringLiteral("系统模式");
inline const QString ntcCount = QStringLiteral("温度数量");
inline const QString minCellVoltage = QStringLiteral("最低单体电压");
inline const QString minCellVoltageNo = QStringLiteral("最低单体电压序号");
inline const QString maxCellVoltage = QStringLiteral("最高单体电压");
inline const QString maxCellVoltageNo = QStringLiteral("最高单体电压序号");
inline const QString minTemperature = QStringLiteral("最低单体温度");
inline const QString minTemperatureNo = QStringLiteral("最低单体温度序号");
inline const QString maxTemperature = QStringLiteral("最高单体温度");
inline const QString maxTemperatureNo = QStringLiteral("最高单体温度序号");
inline const QString bmsAddress = QStringLiteral("BMSADD");

// cellTemperatures element i: "温度0" .. "温度11"; cellVoltages element i:
// "单压0" .. "单压31" (the highlight flag marks passive balancing).
QString cellTemperature(int i);
QString cellVoltage(int i);
constexpr int temperatureSlots = 12;
constexpr int cellSlots = 32;

inline const QString alarmStatus = QStringLiteral("告警状态");
inline const QString protectionStatus = QStringLiteral("保护状态");
inline const QString faultStatus = QStringLiteral("故障状态");

// Control buttons (codes 80-87).
inline const QString chargeOff = QStringLiteral("充电_0");
inline const QString chargeOn = QStringLiteral("充电_1");
inline const QString dischargeOff = QStringLiteral("放电_0");
inline const QString dischargeOn = QStringLiteral("放电_1");
inline const QString sleepButton = QStringLiteral("休眠");
inline const QString resetButton = QStringLiteral("复位");
inline const QString storageButton = QStringLiteral("仓存");
inline const QString wakeButton = QStringLiteral("唤醒");
} // namespace InfoField

void defineInfoForm(Form &form);
